#pragma once
// The detector's input and output: width x height bytes, rows back to back.
#include <cstdint>
#include <vector>

#include "imaging/PictureMemory.h"

struct GrayPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t, PictureAllocator<std::uint8_t>> bytes;
};
