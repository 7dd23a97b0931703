#include "engine/rowDetector.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "engine/edgeClasses.h"
#include "engine/gridHysteresis.h"
#include "engine/parallel.h"
#include "engine/rowSmoothing.h"
#include "engine/rowThinning.h"
#include "engine/vectorClones.h"

namespace {

// Rows classed and linked at a time: small enough that a batch's classes are
// still in cache when it is linked.
constexpr std::ptrdiff_t kPixelsPerBatch = 1 << 15;

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

ENGINE_VECTOR_CLONES
void writeEdgeMap(const ClassMap &map, std::uint8_t *data, std::ptrdiff_t y0, std::ptrdiff_t y1) {
  const std::ptrdiff_t w = map.width;  // a local: the bytes written could alias the map's fields
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const std::uint8_t *__restrict in = map.row(y + 1) + 1;
    std::uint8_t *__restrict out = data + y * w;
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = edgeClass::edgeByte(in[x]);
  }
}

// Each part's view of the grid's rows. A part reads the two rows beyond each
// of its ends, which the neighbouring parts overwrite with classes; it reads
// copies of them, made before any part starts (after the scratch rows a
// thinner uses).
std::vector<std::vector<float *>> partViews(const RowGrid &g, int parts) {
  const std::ptrdiff_t h = g.height, n = g.width + 2;
  std::vector<std::vector<float *>> views(static_cast<std::size_t>(parts),
                                          std::vector<float *>(g.rows, g.rows + h + 2));
  if (parts == 1) return views;
  for (int part = 0; part < parts; ++part) {
    const Range r = partOf(h, parts, part);
    float *copies = g.scratchOf(part) + kThinnerRows * n;
    // In the grid's 1-based numbering the part is rows r.begin + 1 to r.end.
    const std::ptrdiff_t shared[4] = {r.begin - 1, r.begin, r.end + 1, r.end + 2};
    for (int i = 0; i < 4; ++i) {
      const std::ptrdiff_t y = shared[i];
      if (y < 1 || y > h) continue;
      std::memcpy(copies + i * n, g.rows[y], static_cast<std::size_t>(n) * sizeof(float));
      views[static_cast<std::size_t>(part)][static_cast<std::size_t>(y)] = copies + i * n;
    }
  }
  return views;
}

bool classAndLink(const RowGrid &g, float t1, float t2, SuppressionStop stop) {
  const std::ptrdiff_t w = g.width, h = g.height;
  const int parts = partsFor(h, std::max<std::ptrdiff_t>(1, kPixelsPerPart / w));
  std::vector<std::vector<float *>> views;
  std::vector<std::ptrdiff_t> firstRows;
  try {
    views = partViews(g, parts);
    firstRows.reserve(static_cast<std::size_t>(parts));
  } catch (const std::bad_alloc &) {
    return false;
  }
  const ClassMap map = classMapOver(g);
  const std::ptrdiff_t batch = std::max<std::ptrdiff_t>(1, kPixelsPerBatch / w);
  runParts(parts, [&](int part) {
    const Range r = partOf(h, parts, part);
    RowThinner thinner(views[static_cast<std::size_t>(part)].data(), map, r.begin + 1, t1, t2, stop,
                       g.scratchOf(part));
    StripLinker linker(map, r.begin + 1, g.pendingOf(part));
    for (std::ptrdiff_t y = r.begin + 1; y <= r.end;) {
      y = std::min(y + batch, r.end + 1);
      thinner.classUntil(y);
      linker.linkUntil(y);
    }
  });
  for (int part = 1; part < parts; ++part) firstRows.push_back(partOf(h, parts, part).begin + 1);
  joinStrips(map, firstRows.data(), parts - 1, g.pendingOf(0));
  return true;
}

}  // namespace

bool detectByRows(RowGrid &g, float t1, float t2, float sigma, std::int32_t steps,
                  std::int32_t width, std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  if (!g.shape(width, height)) return false;
  // Smoothing fills the grid either way; unsafe samples only mean that some
  // gradients may be infinite.
  const bool safe = loadSmoothed(data, g, sigma, steps);
  replicateBorder(g);
  const SuppressionStop stop = safe ? SuppressionStop{g.width + 1, 0} : findSuppressionStop(g, t1);
  if (!classAndLink(g, t1, t2, stop)) return false;
  const ClassMap map = classMapOver(g);
  parallelFor(g.height, std::max<std::ptrdiff_t>(1, kPixelsPerPart / g.width),
              [&](std::ptrdiff_t y0, std::ptrdiff_t y1, int) { writeEdgeMap(map, data, y0, y1); });
  return true;
}
