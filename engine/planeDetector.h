#pragma once
#include <cstdint>

// The detector step by step over padded planes: the flat float image smoothed
// by smoothGaussian, then gradients, the t1 cut, suppression and hysteresis,
// each over whole planes in column order. It is the plain form of the
// detector: the definition the fast row pipeline is checked against, at
// about twenty bytes a pixel.
// Returns false, with the buffer unchanged, when memory ran out.
bool detectOnPaddedPlanes(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data);
