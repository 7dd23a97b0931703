#pragma once
// The per-line work of the gradient and suppression stages. A line is one
// contiguous run of a padded plane, a column or a row, with a border cell at
// each end; `before` and `after` are the neighbouring lines. Every loop runs
// along one line and vectorises: plain selects and bitwise logic, no branches.
#include <cstddef>

#include "engine/sectorBounds.h"

namespace lines {

// Sobel gradients scaled by 1/8 for cells 1..n of `line`. `across` is the
// difference from `before` to `after`, `along` the difference along the line;
// each weighted sum is the first term plus twice the middle one, then the
// third. In a column, across is gx and along is gy; in a row, the other way.
inline void gradients(const float *__restrict before, const float *__restrict line,
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
inline void magnitudesAtLeast(float t1, const float *__restrict gx, const float *__restrict gy,
                              float *__restrict out, std::ptrdiff_t n) {
  for (std::ptrdiff_t i = 1; i <= n; ++i) {
    const float a = gx[i] * gx[i];
    const float b = gy[i] * gy[i];
    const float m = __builtin_sqrtf(a + b);
    out[i] = m >= t1 ? m : 0.0f;
  }
}

// The sector tests of SectorBounds::sectorOf as masks.
struct SectorMasks {
  bool leftRight, upLeftDownRight, upDown, nan;
};

inline SectorMasks sectorMasks(float gx, float gy, const SectorBounds &b) {
  const bool tinyX = __builtin_fabsf(gx) <= SectorBounds::kBelowMicro;
  const bool tinyY = __builtin_fabsf(gy) <= SectorBounds::kBelowMicro;
  const bool quotient = !tinyX;
  const float q = gy / gx;
  const bool leftRight = (tinyX & tinyY) | (quotient & (q >= b.downToLow) & (q <= b.upToLow));
  const bool falling = quotient & (q > b.upToLow) & (q <= b.upToHigh);
  const bool upDown = (tinyX & !tinyY) | (quotient & ((q > b.upToHigh) | (q < b.downToHigh)));
  const bool nan = quotient & (q != q);
  return {leftRight, falling, upDown, nan};
}

// A thinned magnitude: 0 where a neighbour along the gradient is greater than
// m, m otherwise (and m itself when it is 0). The pairs are the neighbours
// left/right, up-left/down-right, above/below and up-right/down-left.
inline float thinned(float m, const SectorMasks &s, float left, float right, float upLeft,
                     float downRight, float up, float down, float upRight, float downLeft) {
  const float first = s.leftRight ? left : s.upLeftDownRight ? upLeft : s.upDown ? up : upRight;
  const float second =
      s.leftRight ? right : s.upLeftDownRight ? downRight : s.upDown ? down : downLeft;
  const bool keep = (m == 0.0f) | !((first > m) | (second > m));
  return keep ? m : 0.0f;
}

// Suppression of column x: prev, cur and next are the magnitudes of columns
// x - 1, x and x + 1 as they were before any suppression. Cells are visited
// top to bottom; a NaN angle at a cell of non-zero magnitude stops the pass
// there, and that cell and the rest of the column keep their magnitudes. The
// row of the stop is returned, or 0 when the column is done.
inline std::ptrdiff_t suppressColumn(const float *__restrict prev, const float *__restrict cur,
                                     const float *__restrict next, const float *__restrict gx,
                                     const float *__restrict gy, float *__restrict out,
                                     std::ptrdiff_t h, const SectorBounds &bounds) {
  int stopped = 0;  // an int: a bool accumulator keeps the loop from vectorising
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    const SectorMasks s = sectorMasks(gx[y], gy[y], bounds);
    out[y] = thinned(cur[y], s, prev[y], next[y], prev[y - 1], next[y + 1], cur[y - 1],
                     cur[y + 1], next[y - 1], prev[y + 1]);
    stopped |= static_cast<int>(s.nan & (cur[y] != 0.0f));
  }
  if (!stopped) return 0;
  std::ptrdiff_t y = 1;
  while (cur[y] == 0.0f || bounds.sectorOf(gx[y], gy[y]) != 0) ++y;
  for (std::ptrdiff_t k = y; k <= h; ++k) out[k] = cur[k];
  return y;
}

// Suppression of one row from the magnitudes of the rows above, here and
// below. For gradients without a NaN angle (both finite, say) the result
// does not depend on the order of the cells.
inline void suppressRow(const float *__restrict above, const float *__restrict cur,
                        const float *__restrict below, const float *__restrict gx,
                        const float *__restrict gy, float *__restrict out, std::ptrdiff_t w,
                        const SectorBounds &bounds) {
  for (std::ptrdiff_t x = 1; x <= w; ++x) {
    const SectorMasks s = sectorMasks(gx[x], gy[x], bounds);
    out[x] = thinned(cur[x], s, cur[x - 1], cur[x + 1], above[x - 1], below[x + 1], above[x],
                     below[x], above[x + 1], below[x - 1]);
  }
}

}  // namespace lines
