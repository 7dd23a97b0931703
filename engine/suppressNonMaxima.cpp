#include "engine/suppressNonMaxima.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/lineKernels.h"

namespace canny::detail {

// Every comparison must see the magnitudes as they were on entry. Columns are
// visited left to right, so the column to the right is still untouched; only
// copies of the current and the previous column are needed, not of the plane.
bool suppressNonMaxima(PaddedPlane image, PaddedPlane gx, PaddedPlane gy, std::int32_t width,
                       std::int32_t height) {
  if (width < 1 || height < 1) return true;
  const std::ptrdiff_t rows = std::ptrdiff_t{height} + 2;
  const std::size_t columnBytes = static_cast<std::size_t>(rows) * sizeof(float);
  auto *scratch = static_cast<float *>(std::malloc(2 * columnBytes));
  if (!scratch) return false;
  float *previous = scratch;        // column x - 1 as it was on entry
  float *current = scratch + rows;  // column x as it was on entry
  std::memcpy(previous, image[0], columnBytes);

  const SectorBounds &bounds = sectorBounds();
  for (std::ptrdiff_t x = 1; x <= width; ++x) {
    std::memcpy(current, image[x], columnBytes);
    if (lines::suppressColumn(previous, current, image[x + 1], gx[x], gy[x], image[x], height,
                              bounds))
      break;  // a NaN angle ends the pass
    std::swap(previous, current);
  }
  std::free(scratch);
  return true;
}

}  // namespace canny::detail
