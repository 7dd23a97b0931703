#pragma once
// The gray pictures the benchmarks feed to the detector and to its peer.
#include <cstdint>
#include <string>
#include <vector>

// An 8-bit gray picture, rows one after another with no padding, as the
// detector takes it.
struct GrayPicture {
  std::int32_t width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
};

// Reads a binary (P5) PGM whose maximum value is 255; throws std::runtime_error
// naming the file on anything else.
GrayPicture readPgm(const std::string &path);

// Bilinear resize with pixel centres aligned (the mapping of OpenCV's
// INTER_LINEAR). Done here rather than by OpenCV so that a build without
// OpenCV times the engine on the very same bytes.
GrayPicture resizeBilinear(const GrayPicture &source, std::int32_t width, std::int32_t height);
