#include "engine/PaddedPlane.h"

#include <cstdint>
#include <cstdlib>

#include "engine/largeBlock.h"

namespace canny::detail {

// The columns are carved out of one block, column after column, so that a
// plane is one allocation that either succeeds whole or not at all; the first
// column handle is that block.
void allocPlane(PaddedPlane &plane, std::int64_t columns, std::int64_t rows) {
  plane = nullptr;
  if (columns < 0 || rows < 0) return;
  const auto cols = static_cast<std::uint64_t>(columns),
             rowCount = static_cast<std::uint64_t>(rows);
  if (cols != 0 && rowCount > SIZE_MAX / sizeof(float) / cols) return;  // cannot be addressed
  plane = static_cast<float **>(std::calloc(static_cast<std::size_t>(cols) + 1, sizeof(float *)));
  if (!plane || cols == 0) return;
  auto *cells = static_cast<float *>(allocateLargeBlock(cols * rowCount * sizeof(float)));
  if (!cells) return;
  for (std::uint64_t i = 0; i < cols; ++i) plane[i] = cells + i * rowCount;
}

void freePlane(PaddedPlane plane, std::int64_t columns) {
  if (!plane) return;
  if (columns > 0) freeLargeBlock(plane[0]);
  std::free(plane);
}

bool planeIsComplete(PaddedPlane plane, std::int64_t columns) {
  return plane && (columns <= 0 || plane[0]);
}

}  // namespace canny::detail
