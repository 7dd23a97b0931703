#include "engine/rowThinning.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "engine/lineKernels.h"
#include "engine/parallel.h"
#include "engine/rowSmoothing.h"
#include "engine/vectorClones.h"

namespace canny::detail {

namespace {

ENGINE_VECTOR_CLONES
void gradientsAndCut(const float *before, const float *line, const float *after, float *gx,
                     float *gy, float *magnitude, float t1, std::ptrdiff_t w) {
  lines::gradients(before, line, after, gy, gx, w);
  lines::magnitudesAtLeast(t1, gx, gy, magnitude, w);
}

// Cells of zero magnitude are never suppressed, and most cells are: blocks
// of them skip the sector tests.
constexpr std::ptrdiff_t kBlock = 16;

// By their bits, which vectorises: a -0.0 (which no magnitude is) would only
// send its block through the sector tests.
ENGINE_INLINE bool allZero(const float *m) {
  std::uint32_t bits = 0;
  for (std::ptrdiff_t i = 0; i < kBlock; ++i) {
    std::uint32_t b;
    std::memcpy(&b, m + i, sizeof b);
    bits |= b;
  }
  return bits == 0;
}

// Cells from `kept` on keep their magnitudes: they lie past the stop.
ENGINE_VECTOR_CLONES
void classRow(const float *above, const float *cur, const float *below, const float *gx,
              const float *gy, float *thinned, std::uint8_t *out, std::ptrdiff_t w,
              std::ptrdiff_t kept, float t1, float t2) {
  const SectorBounds &bounds = sectorBounds();
  // Offsets of x - 1, as the line kernels count cells from 1.
  std::ptrdiff_t x = 1;
  for (; x + kBlock - 1 <= w; x += kBlock) {
    const std::ptrdiff_t o = x - 1;
    if (allZero(cur + x))
      std::fill(thinned + x, thinned + x + kBlock, 0.0f);
    else
      lines::suppressRow(above + o, cur + o, below + o, gx + o, gy + o, thinned + o, kBlock,
                         bounds);
  }
  const std::ptrdiff_t o = x - 1;
  lines::suppressRow(above + o, cur + o, below + o, gx + o, gy + o, thinned + o, w - o, bounds);
  for (x = kept; x <= w; ++x) thinned[x] = cur[x];
  lines::classify(thinned, out, w, t1, t2);
  out[0] = out[w + 1] = edgeClass::kNone;
}

// The first x of row y where the stop condition holds, up to `last`; 0 when none.
std::ptrdiff_t firstStopIn(const float *m, const float *gx, const float *gy, std::ptrdiff_t last) {
  for (std::ptrdiff_t x = 1; x <= last; ++x)
    if (lines::stopsSuppression(m[x], gx[x], gy[x])) return x;
  return 0;
}

bool before(SuppressionStop a, SuppressionStop b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }

}  // namespace

SuppressionStop findSuppressionStop(const RowGrid &g, float t1) {
  const std::ptrdiff_t w = g.width, h = g.height, n = w + 2;
  const int parts = partsFor(h, std::max<std::ptrdiff_t>(1, kPixelsPerPart / w));
  SuppressionStop first{w + 1, 0};
  std::mutex firstGuard;
  runParts(parts, [&](int part) {
    const Range r = partOf(h, parts, part);
    float *gx = g.scratchOf(part), *gy = gx + n, *m = gy + n;
    SuppressionStop best{w + 1, 0};
    for (std::ptrdiff_t y = r.begin + 1; y <= r.end; ++y) {
      gradientsAndCut(g.rows[y - 1], g.rows[y], g.rows[y + 1], gx, gy, m, t1, w);
      // Rows come in increasing order, so only a column further left is earlier.
      const std::ptrdiff_t x = firstStopIn(m, gx, gy, best.x - 1);
      if (x != 0) best = {x, y};
    }
    const std::lock_guard<std::mutex> lock(firstGuard);
    if (before(best, first)) first = best;
  });
  return first;
}

ClassMap classMapOver(const RowGrid &g) {
  return {reinterpret_cast<std::uint8_t *>(g.rows[0]),
          g.stride * static_cast<std::ptrdiff_t>(sizeof(float)), g.width, g.height};
}

// Row y's floats are overwritten only once the gradients of row y + 1, the
// last to read them, are done. Scratch holds nine rows: zeros for the border
// rows, gradients of two rows, magnitudes of three and one thinned row.
PartRows::PartRows(const RowGrid &g, std::ptrdiff_t y0, std::ptrdiff_t y1, bool alone,
                   float *copies)
    : _rows(g.rows), _copies(copies), _length(g.width + 2), _shared{y0 - 2, y0 - 1, y1, y1 + 1} {
  for (std::ptrdiff_t &y : _shared)
    if (alone || y < 1 || y > g.height) y = -1;
}

void PartRows::copyShared() const {
  for (int i = 0; i < 4; ++i)
    if (_shared[i] >= 0)
      std::memcpy(_copies + i * _length, _rows[_shared[i]],
                  static_cast<std::size_t>(_length) * sizeof(float));
}

RowThinner::RowThinner(const PartRows &rows, const ClassMap &map, std::ptrdiff_t y0, float t1,
                       float t2, SuppressionStop stop, float *scratch)
    : _rows(rows), _map(map), _next(y0), _t1(t1), _t2(t2), _stop(stop) {
  const std::ptrdiff_t n = map.width + 2;
  std::memset(scratch, 0, static_cast<std::size_t>(kThinnerRows * n) * sizeof(float));
  _zeros = scratch;
  for (int i = 0; i < 2; ++i) {
    _gx[i] = scratch + (1 + i) * n;
    _gy[i] = scratch + (3 + i) * n;
  }
  for (int i = 0; i < 3; ++i) _magnitude[i] = scratch + (5 + i) * n;
  _thinned = scratch + 8 * n;
  if (y0 > 1) gradientsOfRow(y0 - 1);
  gradientsOfRow(y0);
  if (y0 == 1) std::memset(map.row(0), edgeClass::kNone, static_cast<std::size_t>(n));
}

void RowThinner::gradientsOfRow(std::ptrdiff_t y) {
  gradientsAndCut(_rows[y - 1], _rows[y], _rows[y + 1], _gx[y % 2], _gy[y % 2], _magnitude[y % 3],
                  _t1, _map.width);
}

void RowThinner::classUntil(std::ptrdiff_t end) {
  const std::ptrdiff_t w = _map.width, h = _map.height;
  for (; _next < end; ++_next) {
    const std::ptrdiff_t y = _next;
    if (y < h) gradientsOfRow(y + 1);
    const float *above = y > 1 ? _magnitude[(y - 1) % 3] : _zeros;
    const float *below = y < h ? _magnitude[(y + 1) % 3] : _zeros;
    const float *cur = _magnitude[y % 3];
    const std::ptrdiff_t kept = _stop.x + (y < _stop.y ? 1 : 0);
    classRow(above, cur, below, _gx[y % 2], _gy[y % 2], _thinned, _map.row(y), w, kept, _t1, _t2);
    if (y == h) std::memset(_map.row(h + 1), edgeClass::kNone, static_cast<std::size_t>(w + 2));
  }
}

}  // namespace canny::detail
