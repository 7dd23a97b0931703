#pragma once
// Pictures and values for property tests, from seeded generators: every run checks the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

// Flat shapes of random gray under random noise: edges of every direction, flat stretches between.
inline std::vector<std::uint8_t> randomPicture(std::int32_t width, std::int32_t height,
                                               std::mt19937 &rng) {
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<int> gray(static_cast<std::size_t>(width) * height, uniform(0, 255));
  for (int shape = uniform(0, 6); shape > 0; --shape) {
    const int cx = uniform(0, width - 1), cy = uniform(0, height - 1);
    const int r = uniform(1, std::max(1, std::max(width, height) / 2)), level = uniform(0, 255);
    const bool disc = uniform(0, 1) == 1;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int dx = x - cx, dy = y - cy;
        if (disc ? dx * dx + dy * dy <= r * r : std::abs(dx) <= r && std::abs(dy) <= r / 2)
          gray[static_cast<std::size_t>(y) * width + x] = level;
      }
  }
  const int noise = uniform(0, 40);
  std::vector<std::uint8_t> bytes(gray.size());
  for (std::size_t i = 0; i < gray.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(std::clamp(gray[i] + uniform(-noise, noise), 0, 255));
  return bytes;
}

// A dark picture with a bright square a quarter of the shorter side across: at sigma 60, 8 steps
// the samples near the square overflow to infinity, those far from it stay finite.
inline std::vector<std::uint8_t> partlyOverflowingPicture(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height, 0);
  const std::int32_t side = std::min(width, height) / 4;
  for (std::int32_t y = (height - side) / 2; y < (height + side) / 2; ++y)
    for (std::int32_t x = (width - side) / 2; x < (width + side) / 2; ++x)
      bytes[static_cast<std::size_t>(y) * width + x] = 255;
  return bytes;
}
