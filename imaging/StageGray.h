#pragma once
// A stage's float values drawn as 8-bit gray, as the screens show them. Plain
// C++, so that the web page's WebAssembly build draws stages the same way.
#include <cstddef>
#include <cstdint>

// The largest of `count` values, the white of a magnitude stage; 0 when none
// is above 0. NaN never wins.
float largestValue(const float *values, std::size_t count);

// Each value times 255 / white, rounded and kept within 0..255; NaN (also
// 0 / 0 where there is no magnitude at all) and values below 0 are black.
void drawStageGray(const float *values, std::size_t count, float white, std::uint8_t *gray);
