#pragma once
// The working memory of the detector's row pipeline. The padded grid is held
// row by row in one block: cell (x, y), the plain form's image[x][y], is
// rows[y][x] = cells[y * stride + x] with stride = width + 2, pixel
// (x - 1, y - 1) of the picture in the interior. Beside it, scratch memory
// for each part of the work that runs on a core of its own.
#include <cstddef>

#include "engine/PaddedPlane.h"

struct RowGrid {
  std::ptrdiff_t width, height, stride;
  float **rows = nullptr;
  float *cells = nullptr;
  float *scratch = nullptr;
  std::ptrdiff_t scratchPerPart = 0;

  RowGrid(std::ptrdiff_t width, std::ptrdiff_t height);
  ~RowGrid();
  RowGrid(const RowGrid &) = delete;
  RowGrid &operator=(const RowGrid &) = delete;

  bool complete() const { return cells && scratch; }
  // At least kBlockLanes * max(width + 2, height) floats, for part `part`.
  float *scratchOf(int part) const { return scratch + part * scratchPerPart; }
};
