#include "engine/gridHysteresis.h"

#include <algorithm>
#include <new>
#include <vector>

#include "engine/seedScan.h"

void fenceGrid(float *grid, std::ptrdiff_t stride, std::ptrdiff_t width, std::ptrdiff_t height) {
  std::fill(grid, grid + width + 2, kGridMark);
  std::fill(grid + (height + 1) * stride, grid + (height + 1) * stride + width + 2, kGridMark);
  for (std::ptrdiff_t y = 1; y <= height; ++y)
    grid[y * stride] = grid[y * stride + width + 1] = kGridMark;
}

bool linkEdges(float *grid, std::ptrdiff_t stride, std::ptrdiff_t width, std::ptrdiff_t height,
               float t1, float t2) {
  const std::ptrdiff_t neighbours[8] = {stride + 1, 1,           -stride + 1, stride - 1,
                                        -1,         -stride - 1, stride,      -stride};
  std::vector<std::ptrdiff_t> pending;
  try {
    for (std::ptrdiff_t y = 1; y <= height; ++y) {
      float *row = grid + y * stride;
      for (std::ptrdiff_t x0 = 1; x0 <= width; x0 += kScanChunk) {
        const std::ptrdiff_t x1 = std::min(x0 + kScanChunk, width + 1);
        if (!chunkHasSeed(row + x0, x1 - x0, t2)) continue;
        for (std::ptrdiff_t x = x0; x < x1; ++x) {
          if (!(row[x] >= t2)) continue;
          row[x] = kGridMark;
          pending.push_back(y * stride + x);
          while (!pending.empty()) {
            const std::ptrdiff_t cell = pending.back();
            pending.pop_back();
            for (const std::ptrdiff_t step : neighbours) {
              float &v = grid[cell + step];
              if (t1 < v && v <= t2) {
                v = kGridMark;
                pending.push_back(cell + step);
              }
            }
          }
        }
      }
    }
  } catch (const std::bad_alloc &) {
    return false;
  }
  return true;
}
