#pragma once
#include <canny/stages.h>

#include <cstdint>

namespace canny::detail {

// The detector step by step over padded planes: the flat float image smoothed
// by smoothGaussian, then gradients, the t1 cut, suppression and hysteresis,
// each over whole planes in column order. It is the plain form of the
// detector: the definition the fast row pipeline is checked against, at
// about twenty bytes a pixel. Runs as far as `last`, then writes that stage's
// interior row after row into `values`, or for the edge map into `edges` when
// `values` is null. The views are valid and of one size, not empty.
Status runPlainPipeline(ConstImageView input, const Settings &settings, Stage last, float *values,
                        ImageView edges);

// The plain form over a buffer of width x height bytes in place. Returns
// false, with the buffer unchanged, when memory ran out.
bool detectOnPaddedPlanes(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data);

}  // namespace canny::detail
