#pragma once
// The working memory of the detector's row pipeline. The padded grid is held
// row by row in one block: cell (x, y), the plain form's image[x][y], is
// rows[y][x], pixel (x - 1, y - 1) of the picture in the interior, rows
// `stride` floats apart (at least width + 2). Where alignedRows, the stride is
// a whole number of cache lines and each row's interior starts on one, which
// lets whole lines be written past the caches. Beside it, scratch memory
// for each part of the work that runs on a core of its own. The memory is
// kept from one picture to the next and grows only when a picture needs more.
#include <atomic>
#include <cstddef>

#include "engine/gridHysteresis.h"

namespace canny::detail {

struct RowGrid {
  std::ptrdiff_t width = 0, height = 0, stride = 0;
  bool alignedRows = false;
  float **rows = nullptr;
  float *cells = nullptr;
  float *scratch = nullptr;
  std::ptrdiff_t scratchPerPart = 0;
  std::ptrdiff_t *pending = nullptr;  // hysteresis stacks, touched only as deep as they go
  std::ptrdiff_t pendingPerPart = 0;
  int parts = 1;  // the most parts the scratch and stacks are laid out for
  // Set by the caller for one detection: the passes stop early once it holds.
  std::atomic<bool> *cancelRequest = nullptr;

  bool cancelRequested() const {
    return cancelRequest && cancelRequest->load(std::memory_order_relaxed);
  }

  RowGrid() = default;
  ~RowGrid() { release(); }
  RowGrid(const RowGrid &) = delete;
  RowGrid &operator=(const RowGrid &) = delete;

  // Lays the grid out for a picture of width x height pixels. False when the
  // memory cannot be had; the grid then holds none.
  bool shape(std::ptrdiff_t width, std::ptrdiff_t height);
  // Frees the memory; `lazily` as freeLargeBlock.
  void release(bool lazily = false);

  // At least kBlockLanes rows of width + 2 floats, for part `part`.
  float *scratchOf(int part) const { return scratch + part * scratchPerPart; }
  PendingStack pendingOf(int part) const {
    return {pending + part * pendingPerPart, pendingPerPart};
  }

 private:
  std::size_t _cellCapacity = 0, _rowCapacity = 0, _scratchCapacity = 0, _pendingCapacity = 0;
};

}  // namespace canny::detail
