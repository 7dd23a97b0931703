#include "engine/rowGrid.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/largeBlock.h"
#include "engine/parallel.h"
#include "engine/sweeps.h"

namespace {

// a * b, or 0 when the product does not fit in memory at all.
std::size_t floatsFor(std::ptrdiff_t a, std::ptrdiff_t b) {
  const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
  if (ua != 0 && ub > SIZE_MAX / sizeof(float) / ua) return 0;
  return ua * ub;
}

}  // namespace

bool RowGrid::shape(std::ptrdiff_t w, std::ptrdiff_t h) {
  const std::size_t cellCount = floatsFor(w + 2, h + 2);
  const std::size_t rowCount = static_cast<std::size_t>(h) + 2;
  const std::ptrdiff_t perPart = sweeps::kBlockLanes * std::max(w + 2, h);
  const std::size_t scratchCount = floatsFor(perPart, mostParts());
  if (cellCount == 0 || scratchCount == 0) {
    release();
    return false;
  }
  if (cellCount > _cellCapacity) {
    freeLargeBlock(cells);
    cells = static_cast<float *>(allocateLargeBlock(cellCount * sizeof(float)));
    _cellCapacity = cells ? cellCount : 0;
  }
  if (rowCount > _rowCapacity) {
    std::free(rows);
    rows = static_cast<float **>(std::malloc(rowCount * sizeof(float *)));
    _rowCapacity = rows ? rowCount : 0;
  }
  if (scratchCount > _scratchCapacity) {
    freeLargeBlock(scratch);
    scratch = static_cast<float *>(allocateLargeBlock(scratchCount * sizeof(float)));
    _scratchCapacity = scratch ? scratchCount : 0;
  }
  if (!cells || !rows || !scratch) {
    release();
    return false;
  }
  width = w;
  height = h;
  stride = w + 2;
  scratchPerPart = perPart;
  for (std::size_t y = 0; y < rowCount; ++y) rows[y] = cells + y * static_cast<std::size_t>(stride);
  return true;
}

void RowGrid::release() {
  freeLargeBlock(cells);
  freeLargeBlock(scratch);
  std::free(rows);
  cells = scratch = nullptr;
  rows = nullptr;
  _cellCapacity = _rowCapacity = _scratchCapacity = 0;
  width = height = stride = scratchPerPart = 0;
}
