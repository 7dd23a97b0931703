#include "engine/rowThinning.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "engine/lineKernels.h"
#include "engine/parallel.h"
#include "engine/rowSmoothing.h"
#include "engine/vectorClones.h"

namespace {

// Rows y0 to y1 - 1. `rows` are the grid's row pointers as this part sees
// them. Row y is overwritten only once the gradients of row y + 1, the last
// to read it, are done. Scratch holds eight rows: zeros for the border rows,
// gradients of two rows and magnitudes of three.
ENGINE_VECTOR_CLONES
void thinRows(float *const *rows, float t1, std::ptrdiff_t w, std::ptrdiff_t h, std::ptrdiff_t y0,
              std::ptrdiff_t y1, float *scratch) {
  const std::ptrdiff_t n = w + 2;
  std::memset(scratch, 0, static_cast<std::size_t>(8 * n) * sizeof(float));
  const float *zeros = scratch;
  float *gx[2] = {scratch + n, scratch + 2 * n};
  float *gy[2] = {scratch + 3 * n, scratch + 4 * n};
  float *magnitude[3] = {scratch + 5 * n, scratch + 6 * n, scratch + 7 * n};
  const auto gradientsOfRow = [&](std::ptrdiff_t y) {
    float *rowGx = gx[y % 2], *rowGy = gy[y % 2];
    lines::gradients(rows[y - 1], rows[y], rows[y + 1], rowGy, rowGx, w);
    lines::magnitudesAtLeast(t1, rowGx, rowGy, magnitude[y % 3], w);
  };
  const SectorBounds &bounds = sectorBounds();

  if (y0 > 1) gradientsOfRow(y0 - 1);
  gradientsOfRow(y0);
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    if (y < h) gradientsOfRow(y + 1);
    const float *above = y > 1 ? magnitude[(y - 1) % 3] : zeros;
    const float *below = y < h ? magnitude[(y + 1) % 3] : zeros;
    lines::suppressRow(above, magnitude[y % 3], below, gx[y % 2], gy[y % 2], rows[y], w, bounds);
  }
}

}  // namespace

// The rows are split into parts. A part reads the two rows beyond each of its
// ends, which the neighbouring parts overwrite; it reads copies of them, made
// before any part starts.
bool thinGrid(const RowGrid &g, float t1) {
  const std::ptrdiff_t w = g.width, h = g.height, n = w + 2;
  const int parts = partsFor(h, std::max<std::ptrdiff_t>(1, kPixelsPerPart / w));
  std::vector<std::vector<float *>> views;
  try {
    views.assign(static_cast<std::size_t>(parts), std::vector<float *>(g.rows, g.rows + h + 2));
  } catch (const std::bad_alloc &) {
    return false;
  }
  for (int part = 0; part < parts; ++part) {
    const Range r = partOf(h, parts, part);
    float *copies = g.scratchOf(part) + 8 * n;  // after the eight rows thinRows uses
    // In the grid's 1-based numbering the part is rows r.begin + 1 to r.end.
    const std::ptrdiff_t shared[4] = {r.begin - 1, r.begin, r.end + 1, r.end + 2};
    for (int i = 0; i < 4; ++i) {
      const std::ptrdiff_t y = shared[i];
      if (parts == 1 || y < 1 || y > h) continue;
      std::memcpy(copies + i * n, g.rows[y], static_cast<std::size_t>(n) * sizeof(float));
      views[static_cast<std::size_t>(part)][static_cast<std::size_t>(y)] = copies + i * n;
    }
  }
  runParts(parts, [&](int part) {
    const Range r = partOf(h, parts, part);
    thinRows(views[static_cast<std::size_t>(part)].data(), t1, w, h, r.begin + 1, r.end + 1,
             g.scratchOf(part));
  });
  return true;
}
