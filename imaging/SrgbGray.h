#pragma once
// Colour to gray as Qt 6 draws a colour picture onto an 8-bit gray one: each
// sRGB channel decoded through a table of 4081 steps, weighted by the luminance
// row of sRGB's matrix to XYZ (D50) in single precision, summed red, green,
// blue, and the sum encoded back through the inverse curve's table. Plain C++,
// so that the desktop program, the canny tool and the web page share it.
#include <algorithm>
#include <array>
#include <cstdint>

struct SrgbGrayTables {
  static constexpr int kResolution = 255 * 16;
  float channel[3][256];  // each channel's weighted linear value
  // Luminance (in 1/4080) to gray; whole ints, which vector gathers load.
  std::array<std::int32_t, kResolution + 1> gray;
};

// The tables, made on first use.
const SrgbGrayTables &srgbGrayTables();

inline std::uint8_t srgbGray(const SrgbGrayTables &t, int red, int green, int blue) {
  float y = t.channel[0][red] + t.channel[1][green];
  y = y + t.channel[2][blue];
  // Qt clamps the sum to [0, 1] first; clamping the index after is the same, the steps being
  // monotonic, and integer clamps vectorise.
  const int i = std::clamp(int(y * float(SrgbGrayTables::kResolution) + 0.5f), 0,
                           SrgbGrayTables::kResolution);
  return std::uint8_t(t.gray[std::size_t(i)]);
}
