#include "engine/rowDetector.h"

#include <algorithm>
#include <cstddef>

#include "engine/gridHysteresis.h"
#include "engine/parallel.h"
#include "engine/rowGrid.h"
#include "engine/rowSmoothing.h"
#include "engine/rowThinning.h"
#include "engine/vectorClones.h"

namespace {

// Border cells take the value of the nearest pixel, the border rows first;
// the four corners stay 0.
void replicateBorder(const RowGrid &g) {
  float **rows = g.rows;
  const std::ptrdiff_t w = g.width, h = g.height;
  rows[0][0] = rows[0][w + 1] = rows[h + 1][0] = rows[h + 1][w + 1] = 0.0f;
  std::copy(rows[1] + 1, rows[1] + w + 1, rows[0] + 1);
  std::copy(rows[h] + 1, rows[h] + w + 1, rows[h + 1] + 1);
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    rows[y][0] = rows[y][1];
    rows[y][w + 1] = rows[y][w];
  }
}

// Edge cells hold the mark; cells of at least 255 that are not edges are
// written as 255 too, as the plain form's clamp would; every other cell is 0.
ENGINE_VECTOR_CLONES
void writeEdgeMap(const RowGrid &g, std::uint8_t *data, std::ptrdiff_t y0, std::ptrdiff_t y1) {
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const float *in = g.rows[y + 1] + 1;
    std::uint8_t *out = data + y * g.width;
    for (std::ptrdiff_t x = 0; x < g.width; ++x)
      out[x] = ((in[x] != in[x]) | (in[x] >= 255.0f)) ? 255 : 0;
  }
}

RowDetection detectOnGrid(const RowGrid &g, float t1, float t2, float sigma, std::int32_t steps,
                          std::uint8_t *data) {
  if (!loadSmoothed(data, g, sigma, steps)) return RowDetection::needsColumnOrder;
  replicateBorder(g);
  if (!thinGrid(g, t1)) return RowDetection::outOfMemory;
  fenceGrid(g.cells, g.stride, g.width, g.height);
  if (!linkEdges(g.cells, g.stride, g.width, g.height, t1, t2)) return RowDetection::outOfMemory;
  parallelFor(g.height, std::max<std::ptrdiff_t>(1, kPixelsPerPart / g.width),
              [&](std::ptrdiff_t y0, std::ptrdiff_t y1, int) { writeEdgeMap(g, data, y0, y1); });
  return RowDetection::done;
}

}  // namespace

RowDetection detectByRows(RowGrid &grid, float t1, float t2, float sigma, std::int32_t steps,
                          std::int32_t width, std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return RowDetection::done;
  if (!grid.shape(width, height)) return RowDetection::outOfMemory;
  return detectOnGrid(grid, t1, t2, sigma, steps, data);
}
