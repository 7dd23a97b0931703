#include "engine/smoothGaussian.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/sweeps.h"
#include "engine/vectorClones.h"

namespace canny::detail {

namespace {
// Below this lambda, nu is taken in the form without cancellation.
constexpr double kSmallLambda = 1e-4;
}  // namespace

SmoothingConstants smoothingConstants(float sigma, std::int32_t steps) {
  const float s = sigma * sigma;
  const double twiceSteps = static_cast<double>(steps) + static_cast<double>(steps);
  const double lambda = static_cast<double>(s) / twiceSteps;
  // Where lambda is tiny the usual form cancels to nothing in double precision;
  // the same value, multiplied out by its conjugate, keeps its digits there.
  const double nu =
      lambda < kSmallLambda
          ? (lambda + lambda) / ((lambda + lambda) + 1.0 + std::sqrt(lambda * 4.0 + 1.0))
          : ((lambda + lambda) + 1.0 - std::sqrt(lambda * 4.0 + 1.0)) / (lambda + lambda);
  // 2 * steps as a whole number, formed wide so that no step count overflows.
  const double gain = std::pow(nu / lambda, static_cast<double>(2 * std::int64_t{steps}));
  const double boundaryScale = 1.0 / (1.0 - nu);
  return {lambda, nu, gain, boundaryScale};
}

bool smoothingChangesImage(float sigma, std::int32_t steps) {
  // Not "sigma <= 0": a NaN sigma smooths (into NaN).
  return !(sigma <= 0.0f) && steps > 0;
}

namespace {

ENGINE_VECTOR_CLONES
void smoothFlat(float *image, std::ptrdiff_t w, std::ptrdiff_t h, const sweeps::Recursion &r) {
  auto *scratch = static_cast<float *>(
      std::malloc(static_cast<std::size_t>(w) * sweeps::kBlockLanes * sizeof(float)));
  // Rows: each row is a contiguous line; the gain waits until the columns are done.
  sweeps::alongLines(
      h, w, [&](std::ptrdiff_t row) { return image + row * w; }, r, 1.0f, scratch);
  std::free(scratch);
  // Columns: position m of a strip of adjacent columns is contiguous in row m.
  sweeps::acrossLanes(
      w, h, [&](std::ptrdiff_t c0, std::ptrdiff_t m) { return image + m * w + c0; }, r);
  const std::ptrdiff_t count = w * h;
  const float gain = r.gain;
  for (std::ptrdiff_t i = 0; i < count; ++i) image[i] = image[i] * gain;
}

}  // namespace

void smoothGaussian(float *image, std::int32_t width, std::int32_t height, float sigma,
                    std::int32_t steps) {
  // With no step the gain is exactly 1 and nothing would change.
  if (!smoothingChangesImage(sigma, steps) || width <= 0 || height <= 0) return;
  smoothFlat(image, width, height, sweeps::Recursion(smoothingConstants(sigma, steps), steps));
}

}  // namespace canny::detail
