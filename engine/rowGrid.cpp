#include "engine/rowGrid.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/largeBlock.h"
#include "engine/parallel.h"
#include "engine/sweeps.h"

namespace canny::detail {

namespace {

// a * b, or 0 when the product does not fit in memory at all.
std::size_t floatsFor(std::ptrdiff_t a, std::ptrdiff_t b) {
  const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
  if (ua != 0 && ub > SIZE_MAX / sizeof(float) / ua) return 0;
  return ua * ub;
}

// Hysteresis stacks: a sixteenth of the cells in all (half a byte per
// pixel), so memory stays bounded; deeper searches take extra scans instead.
constexpr std::size_t kCellsPerPendingEntry = 16;
constexpr std::size_t kLeastPending = 4096;

constexpr std::ptrdiff_t kAlignedFromWidth = 256;

}  // namespace

bool RowGrid::shape(std::ptrdiff_t w, std::ptrdiff_t h) {
  // Wide rows are padded to whole cache lines, the interior of each starting
  // on one, so that a run of 16 samples fills exactly one line; narrow rows
  // would grow too much for it.
  const bool aligned = w + 2 >= kAlignedFromWidth;
  const std::ptrdiff_t rowStride =
      aligned ? (w + 2 + kCacheLineFloats - 1) / kCacheLineFloats * kCacheLineFloats : w + 2;
  const std::ptrdiff_t offset = aligned ? kCacheLineFloats - 1 : 0;
  const std::size_t rowCells = floatsFor(rowStride, h + 2);
  const std::size_t cellCount = rowCells == 0 ? 0 : rowCells + static_cast<std::size_t>(offset);
  const std::size_t rowCount = static_cast<std::size_t>(h) + 2;
  const std::ptrdiff_t perPart = sweeps::kBlockLanes * (w + 2);
  const int partCount = mostParts();
  const std::size_t scratchCount = floatsFor(perPart, partCount);
  const auto parts = static_cast<std::size_t>(partCount);
  const std::size_t pendingPart =
      std::max(kLeastPending, cellCount / kCellsPerPendingEntry / parts);
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
  if (pendingPart * parts > _pendingCapacity) {
    std::free(pending);
    pending = static_cast<std::ptrdiff_t *>(std::malloc(pendingPart * parts * sizeof *pending));
    _pendingCapacity = pending ? pendingPart * parts : 0;
  }
  if (!cells || !rows || !scratch || !pending) {
    release();
    return false;
  }
  width = w;
  height = h;
  stride = rowStride;
  alignedRows = aligned;
  scratchPerPart = perPart;
  this->parts = partCount;
  pendingPerPart = static_cast<std::ptrdiff_t>(_pendingCapacity / parts);
  for (std::size_t y = 0; y < rowCount; ++y)
    rows[y] = cells + offset + y * static_cast<std::size_t>(stride);
  return true;
}

void RowGrid::release(bool lazily) {
  freeLargeBlock(cells, lazily);
  freeLargeBlock(scratch, lazily);
  std::free(rows);
  std::free(pending);
  cells = scratch = nullptr;
  rows = nullptr;
  pending = nullptr;
  _cellCapacity = _rowCapacity = _scratchCapacity = _pendingCapacity = 0;
  width = height = stride = scratchPerPart = pendingPerPart = 0;
  parts = 1;
  alignedRows = false;
}

}  // namespace canny::detail
