#include "engine/rowDetector.h"

#include <algorithm>
#include <cstddef>

#include "engine/gridHysteresis.h"
#include "engine/parallel.h"
#include "engine/rowSmoothing.h"
#include "engine/rowThinning.h"

namespace canny::detail {

namespace {

// Rows classed and linked at a time: small enough that a batch's classes are
// still in cache when it is linked.
constexpr std::ptrdiff_t kPixelsPerBatch = 1 << 15;

// Border cells take the value of the nearest pixel, the four corner cells
// that of the corner pixel.
void replicateBorder(const RowGrid &g) {
  float **rows = g.rows;
  const std::ptrdiff_t w = g.width, h = g.height;
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    rows[y][0] = rows[y][1];
    rows[y][w + 1] = rows[y][w];
  }
  std::copy(rows[1], rows[1] + w + 2, rows[0]);
  std::copy(rows[h], rows[h] + w + 2, rows[h + 1]);
}

void classLinkAndWrite(const RowGrid &g, float t1, float t2, SuppressionStop stop, EdgeRows edges) {
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
    StripLinker linker(map, r.begin + 1, g.pendingOf(part), edges);
    for (std::ptrdiff_t y = r.begin + 1; y <= r.end && !g.cancelRequested();) {
      y = std::min(y + batch, r.end + 1);
      thinner.classUntil(y);
      linker.linkUntil(y);
    }
  });
  if (g.cancelRequested()) return;
  for (int part = 1; part < parts; ++part)
    joinStrips(map, partOf(h, parts, part).begin + 1, g.pendingOf(0), edges);
}

// Points the grid at the caller's cancel request for one detection.
class CancelWatch {
 public:
  CancelWatch(RowGrid &g, std::atomic<bool> &request) : _g(g) { g.cancelRequest = &request; }
  ~CancelWatch() { _g.cancelRequest = nullptr; }
  CancelWatch(const CancelWatch &) = delete;
  CancelWatch &operator=(const CancelWatch &) = delete;
  // True, with the request taken, once the caller has asked to stop.
  bool stopped() { return _g.cancelRequested() && _g.cancelRequest->exchange(false); }

 private:
  RowGrid &_g;
};

}  // namespace

Status detectByRows(RowGrid &g, ConstImageView input, ImageView output, const Settings &settings,
                    std::atomic<bool> &cancel) {
  if (!g.shape(input.width, input.height)) return Status::outOfMemory;
  const PartsLimit limit(g.parts);
  CancelWatch watch(g, cancel);
  // Smoothing fills the grid either way; unsafe samples only mean that some
  // gradients may be infinite.
  const bool safe = loadSmoothed({input.data, input.stride}, g, settings.sigma, settings.steps);
  if (watch.stopped()) return Status::cancelled;
  replicateBorder(g);
  const SuppressionStop stop =
      safe ? SuppressionStop{g.width + 1, 0} : findSuppressionStop(g, settings.t1);
  classLinkAndWrite(g, settings.t1, settings.t2, stop, {output.data, output.stride});
  if (watch.stopped()) return Status::cancelled;
  return Status::ok;
}

}  // namespace canny::detail
