#pragma once
// The detector's first entries, kept for the programs that call them; new code
// uses canny::detectEdges and canny::Detector from <canny/canny.h>, which say
// the threshold scale and the border behaviour.
#include <cstdint>

// The Canny edge detector over an 8-bit gray buffer of width x height bytes,
// rows one after another with no padding. Smooths with sigma/steps, takes
// Sobel gradients, cuts magnitudes below t1, thins them and links them by
// hysteresis (t1 low, t2 high), then overwrites the buffer with 255 on edge
// pixels and 0 elsewhere.
//
// A width or height of 0 or less touches no byte. A null data pointer with a
// positive width and height does nothing. When working memory cannot be had,
// everything obtained is released and the buffer is left unchanged.
void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data);

// The same, telling whether it finished: false when working memory could not
// be had or data is null with a positive width and height; the buffer is then
// unchanged. A width or height of 0 or less returns true.
bool tryCannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data);
