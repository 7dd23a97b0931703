#pragma once
#include <cstdint>

namespace canny::detail {

// Recursive (Alvarez-Mazorra) Gaussian smoothing of a row-major float image in
// place: `steps` causal/anti-causal sweep pairs along every row, then along
// every column, then one gain that restores the scale. Nothing happens when
// sigma <= 0, when steps <= 0, or when the image is empty.
void smoothGaussian(float *image, std::int32_t width, std::int32_t height, float sigma,
                    std::int32_t steps);

// The constants one call derives, in the precision the sweeps use them.
struct SmoothingConstants {
  double lambda, nu, gain, boundaryScale;
};
SmoothingConstants smoothingConstants(float sigma, std::int32_t steps);

// True when smoothing with these values changes an image: sigma not at or
// below 0 (a NaN sigma does smooth, into NaN) and at least one step.
bool smoothingChangesImage(float sigma, std::int32_t steps);

}  // namespace canny::detail
