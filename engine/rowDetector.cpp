#include "engine/rowDetector.h"

#include <algorithm>
#include <cstddef>

#include "engine/gridHysteresis.h"
#include "engine/parallel.h"
#include "engine/rowSmoothing.h"
#include "engine/rowThinning.h"

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

void classLinkAndWrite(const RowGrid &g, float t1, float t2, SuppressionStop stop,
                       std::uint8_t *data) {
  const std::ptrdiff_t w = g.width, h = g.height, n = w + 2;
  const int parts = partsFor(h, std::max<std::ptrdiff_t>(1, kPixelsPerPart / w));
  const auto rowsOf = [&](int part) {
    const Range r = partOf(h, parts, part);
    return PartRows(g, r.begin + 1, r.end + 1, parts == 1, g.scratchOf(part) + kThinnerRows * n);
  };
  for (int part = 0; part < parts; ++part) rowsOf(part).copyShared();
  const ClassMap map = classMapOver(g);
  const std::ptrdiff_t batch = std::max<std::ptrdiff_t>(1, kPixelsPerBatch / w);
  runParts(parts, [&](int part) {
    const Range r = partOf(h, parts, part);
    const PartRows rows = rowsOf(part);
    RowThinner thinner(rows, map, r.begin + 1, t1, t2, stop, g.scratchOf(part));
    StripLinker linker(map, r.begin + 1, g.pendingOf(part), data);
    for (std::ptrdiff_t y = r.begin + 1; y <= r.end;) {
      y = std::min(y + batch, r.end + 1);
      thinner.classUntil(y);
      linker.linkUntil(y);
    }
  });
  for (int part = 1; part < parts; ++part)
    joinStrips(map, partOf(h, parts, part).begin + 1, g.pendingOf(0), data);
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
  classLinkAndWrite(g, t1, t2, stop, data);
  return true;
}
