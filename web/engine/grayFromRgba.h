#pragma once
// Colour to gray as the desktop application and the canny tool draw a picture
// into their 8-bit gray bitmap (Qt 6's conversion), for pictures the browser
// decoded: plain C++, compiled into the page's WebAssembly and into a native
// test that holds it against Qt's drawing for every colour.
#include <cstddef>
#include <cstdint>

// Writes the gray byte of each of `count` opaque RGBA pixels; alpha is not read.
void grayFromRgba(const std::uint8_t *rgba, std::size_t count, std::uint8_t *gray);
