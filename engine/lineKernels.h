#pragma once
// The per-line work of the gradient and suppression stages. A line is one
// contiguous run of a padded plane, a column or a row, with a border cell at
// each end; `before` and `after` are the neighbouring lines. Every loop runs
// along one line and vectorises: plain selects and bitwise logic, no branches.
#include <cstddef>

#include "engine/vectorClones.h"

#include "engine/edgeClasses.h"
#include "engine/sectorBounds.h"

namespace canny::detail {

namespace lines {

// Sobel gradients scaled by 1/8 for cells 1..n of `line`. `across` is the
// difference from `before` to `after`, `along` the difference along the line;
// each weighted sum is the first term plus twice the middle one, then the
// third. In a column, across is gx and along is gy; in a row, the other way.
ENGINE_INLINE void gradients(const float *__restrict before, const float *__restrict line,
                             const float *__restrict after, float *__restrict across,
                             float *__restrict along, std::ptrdiff_t n) {
  for (std::ptrdiff_t i = 1; i <= n; ++i) {
    const float a = (after[i - 1] + 2.0f * after[i]) + after[i + 1];
    const float b = (before[i - 1] + 2.0f * before[i]) + before[i + 1];
    across[i] = (a - b) * 0.125f;
    const float next = (before[i + 1] + 2.0f * line[i + 1]) + after[i + 1];
    const float prev = (before[i - 1] + 2.0f * line[i - 1]) + after[i - 1];
    along[i] = (next - prev) * 0.125f;
  }
}

// Magnitudes sqrt(gx^2 + gy^2), each step rounded to float; those not at
// least t1 (NaN included) become 0.
ENGINE_INLINE void magnitudesAtLeast(float t1, const float *__restrict gx,
                                     const float *__restrict gy, float *__restrict out,
                                     std::ptrdiff_t n) {
  for (std::ptrdiff_t i = 1; i <= n; ++i) {
    const float a = gx[i] * gx[i];
    const float b = gy[i] * gy[i];
    const float m = __builtin_sqrtf(a + b);
    out[i] = m >= t1 ? m : 0.0f;
  }
}

// A thinned magnitude: 0 where a neighbour along the gradient (gx, gy) is
// greater than m, m otherwise (and m itself when it is 0). The sector tests
// are those of SectorBounds::sectorOf; the pairs are the neighbours
// left/right, up-left/down-right, above/below and up-right/down-left.
ENGINE_INLINE float thinned(float m, float gx, float gy, const SectorBounds &b, float left,
                            float right, float upLeft, float downRight, float up, float down,
                            float upRight, float downLeft) {
  const bool tinyX = __builtin_fabsf(gx) <= SectorBounds::kBelowMicro;
  const bool tinyY = __builtin_fabsf(gy) <= SectorBounds::kBelowMicro;
  const bool quotient = !tinyX;
  const float q = gy / gx;
  const bool leftRight = (tinyX & tinyY) | (quotient & (q >= b.downToLow) & (q <= b.upToLow));
  const bool falling = quotient & (q > b.upToLow) & (q <= b.upToHigh);
  const bool upDown = (tinyX & !tinyY) | (quotient & ((q > b.upToHigh) | (q < b.downToHigh)));
  const float first = leftRight ? left : falling ? upLeft : upDown ? up : upRight;
  const float second = leftRight ? right : falling ? downRight : upDown ? down : downLeft;
  const bool keep = (m == 0.0f) | !((first > m) | (second > m));
  return keep ? m : 0.0f;
}

// True where suppression stops: a NaN angle at a cell of non-zero magnitude.
ENGINE_INLINE bool stopsSuppression(float m, float gx, float gy) {
  const float q = gy / gx;
  return (__builtin_fabsf(gx) > SectorBounds::kBelowMicro) & (q != q) & (m != 0.0f);
}

// Suppression of column x: prev, cur and next are the magnitudes of columns
// x - 1, x and x + 1 as they were before any suppression. Cells are visited
// top to bottom; a NaN angle at a cell of non-zero magnitude stops the pass
// there, and that cell and the rest of the column keep their magnitudes. The
// row of the stop is returned, or 0 when the column is done.
ENGINE_INLINE std::ptrdiff_t suppressColumn(const float *__restrict prev,
                                            const float *__restrict cur,
                                            const float *__restrict next,
                                            const float *__restrict gx, const float *__restrict gy,
                                            float *__restrict out, std::ptrdiff_t h,
                                            const SectorBounds &bounds) {
  const SectorBounds b = bounds;  // a local copy: the output cannot alias it
  int stopped = 0;                // an int: a bool accumulator keeps the loop from vectorising
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    out[y] = thinned(cur[y], gx[y], gy[y], b, prev[y], next[y], prev[y - 1], next[y + 1],
                     cur[y - 1], cur[y + 1], next[y - 1], prev[y + 1]);
    stopped |= static_cast<int>(stopsSuppression(cur[y], gx[y], gy[y]));
  }
  if (!stopped) return 0;
  std::ptrdiff_t y = 1;
  while (cur[y] == 0.0f || bounds.sectorOf(gx[y], gy[y]) != 0) ++y;
  for (std::ptrdiff_t k = y; k <= h; ++k) out[k] = cur[k];
  return y;
}

// Suppression of one row from the magnitudes of the rows above, here and
// below. For gradients without a NaN angle (both finite, say) the result does
// not depend on the order of the cells.
ENGINE_INLINE void suppressRow(const float *__restrict above, const float *__restrict cur,
                               const float *__restrict below, const float *__restrict gx,
                               const float *__restrict gy, float *__restrict out, std::ptrdiff_t w,
                               const SectorBounds &bounds) {
  const SectorBounds b = bounds;  // a local copy: the output cannot alias it
  for (std::ptrdiff_t x = 1; x <= w; ++x) {
    out[x] = thinned(cur[x], gx[x], gy[x], b, cur[x - 1], cur[x + 1], above[x - 1], below[x + 1],
                     above[x], below[x], above[x + 1], below[x - 1]);
  }
}

// The classes of cells 1..n of a line of thinned values (a loop of its own:
// fused into suppression it no longer vectorises).
ENGINE_INLINE void classify(const float *__restrict v, std::uint8_t *__restrict out,
                            std::ptrdiff_t n, float t1, float t2) {
  if (edgeClass::thresholdsAreOrdinary(t2)) {
    for (std::ptrdiff_t i = 1; i <= n; ++i) out[i] = edgeClass::ofOrdinary(v[i], t1, t2);
  } else {
    for (std::ptrdiff_t i = 1; i <= n; ++i) out[i] = edgeClass::of(v[i], t1, t2);
  }
}

}  // namespace lines

}  // namespace canny::detail
