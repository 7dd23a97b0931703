#pragma once
// Colour to gray for pictures the browser decoded, as the desktop application
// and the canny tool draw a picture into their 8-bit gray bitmap.
#include <cstddef>
#include <cstdint>

// Writes the gray byte of each of `count` opaque RGBA pixels; alpha is not read.
void grayFromRgba(const std::uint8_t *rgba, std::size_t count, std::uint8_t *gray);
