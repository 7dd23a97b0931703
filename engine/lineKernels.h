#pragma once
// The per-column work of the gradient and suppression stages, shared by the
// stand-alone stages and the detector's fused pass. A column is contiguous
// in a padded plane, so every loop here runs down one column and vectorises.
#include <cstddef>

#include "engine/sectorBounds.h"

namespace column {

// Sobel gradients of rows 1..h of the column `centre`, between `left` and
// `right`, scaled by 1/8; each weighted sum is formed first term plus twice the
// middle one, then the third.
inline void gradients(const float *__restrict left, const float *__restrict centre,
                      const float *__restrict right, float *__restrict gx, float *__restrict gy,
                      std::ptrdiff_t h) {
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    const float r = (right[y - 1] + 2.0f * right[y]) + right[y + 1];
    const float l = (left[y - 1] + 2.0f * left[y]) + left[y + 1];
    gx[y] = (r - l) * 0.125f;
    const float d = (left[y + 1] + 2.0f * centre[y + 1]) + right[y + 1];
    const float u = (left[y - 1] + 2.0f * centre[y - 1]) + right[y - 1];
    gy[y] = (d - u) * 0.125f;
  }
}

// Magnitudes sqrt(gx^2 + gy^2), each step rounded to float; those not at
// least t1 (NaN included) become 0.
inline void magnitudesAtLeast(float t1, const float *__restrict gx, const float *__restrict gy,
                              float *__restrict out, std::ptrdiff_t h) {
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    const float a = gx[y] * gx[y];
    const float b = gy[y] * gy[y];
    const float m = __builtin_sqrtf(a + b);
    out[y] = m >= t1 ? m : 0.0f;
  }
}

// Non-maximum suppression of one column: out[y] becomes 0 where a neighbour
// along the gradient is greater than the magnitude cur[y], and cur[y]
// otherwise. prev, cur and next are the magnitudes of the columns to the left,
// here and to the right as they were before any suppression. Returns the row at
// which a NaN angle stops the pass (rows from there on keep their magnitudes),
// or 0 when the column is done.
inline std::ptrdiff_t suppress(const float *__restrict prev, const float *__restrict cur,
                               const float *__restrict next, const float *__restrict gx,
                               const float *__restrict gy, float *__restrict out,
                               std::ptrdiff_t h, const SectorBounds &bounds) {
  // Plain bitwise logic and selects throughout, so that the loop vectorises.
  const float upToLow = bounds.upToLow, upToHigh = bounds.upToHigh;
  const float downToLow = bounds.downToLow, downToHigh = bounds.downToHigh;
  int stopped = 0;  // an int: a bool accumulator keeps the loop from vectorising
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    const float m = cur[y];
    const bool tinyX = __builtin_fabsf(gx[y]) <= SectorBounds::kBelowMicro;
    const bool tinyY = __builtin_fabsf(gy[y]) <= SectorBounds::kBelowMicro;
    const float q = gy[y] / gx[y];
    const bool leftRight = (tinyX & tinyY) | ((!tinyX) & (q >= downToLow) & (q <= upToLow));
    const bool falling = !tinyX & (q > upToLow) & (q <= upToHigh);
    const bool upDown = (tinyX & !tinyY) | ((!tinyX) & ((q > upToHigh) | (q < downToHigh)));
    // Every candidate is loaded, so that choosing one is a select.
    const float left = prev[y], upLeft = prev[y - 1], downLeft = prev[y + 1];
    const float right = next[y], upRight = next[y - 1], downRight = next[y + 1];
    const float up = cur[y - 1], down = cur[y + 1];
    const float first = leftRight ? left : falling ? upLeft : upDown ? up : upRight;
    const float second = leftRight ? right : falling ? downRight : upDown ? down : downLeft;
    const bool keep = (m == 0.0f) | !((first > m) | (second > m));
    out[y] = keep ? m : 0.0f;
    stopped |= static_cast<int>(!tinyX & (q != q) & (m != 0.0f));
  }
  if (!stopped) return 0;
  std::ptrdiff_t y = 1;
  while (cur[y] == 0.0f || bounds.sectorOf(gx[y], gy[y]) != 0) ++y;
  for (std::ptrdiff_t k = y; k <= h; ++k) out[k] = cur[k];
  return y;
}

}  // namespace column
