#include "engine/rowSmoothing.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>

#include "engine/parallel.h"
#include "engine/smoothGaussian.h"
#include "engine/sweeps.h"
#include "engine/transpose.h"
#include "engine/vectorClones.h"

namespace {

ENGINE_VECTOR_CLONES
void widenRows(const std::uint8_t *data, const RowGrid &g, std::ptrdiff_t y0, std::ptrdiff_t y1) {
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const std::uint8_t *in = data + y * g.width;
    float *out = g.rows[y + 1] + 1;
    for (std::ptrdiff_t x = 0; x < g.width; ++x) out[x] = in[x];
  }
}

// The row sweeps straight from the bytes, rows y0 to y1: a block of rows is
// widened into scratch already interleaved, swept there in lock step and
// written back.
ENGINE_VECTOR_CLONES
void sweepRowsFromBytes(const std::uint8_t *data, const RowGrid &g, std::ptrdiff_t y0,
                        std::ptrdiff_t y1, const sweeps::Recursion &r, float *scratch) {
  const std::ptrdiff_t w = g.width;
  for (; y0 < y1; y0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, y1 - y0);
    transpose(data + y0 * w, w, scratch, lanes, w, lanes);
    sweeps::sweepInterleaved(scratch, w, lanes, r);
    transpose(scratch, lanes, g.rows[y0 + 1] + 1, g.stride, lanes, w);
  }
}

// The column sweeps of columns x0 to x1, a strip at a time: position y of a
// strip is a contiguous piece of row y, copied into scratch so that the
// sweeps run over contiguous memory. The gain goes on as the strip is copied
// back, noting whether any sample left the safe range.
ENGINE_VECTOR_CLONES
bool sweepColumnsAndScale(const RowGrid &g, std::ptrdiff_t x0, std::ptrdiff_t x1,
                          const sweeps::Recursion &r, float *scratch) {
  const std::ptrdiff_t h = g.height;
  const float gain = r.gain;
  int unsafe = 0;  // an int: a bool accumulator keeps the loop from vectorising
  for (; x0 < x1; x0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, x1 - x0);
    for (std::ptrdiff_t y = 0; y < h; ++y)
      std::memcpy(scratch + y * lanes, g.rows[y + 1] + 1 + x0,
                  static_cast<std::size_t>(lanes) * sizeof(float));
    sweeps::sweepInterleaved(scratch, h, lanes, r);
    for (std::ptrdiff_t y = 0; y < h; ++y) {
      const float *from = scratch + y * lanes;
      float *to = g.rows[y + 1] + 1 + x0;
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const float v = from[i] * gain;
        to[i] = v;
        unsafe |= static_cast<int>(!(__builtin_fabsf(v) < kSafeMagnitude));
      }
    }
  }
  return unsafe == 0;
}

std::ptrdiff_t atLeastOne(std::ptrdiff_t n) { return std::max<std::ptrdiff_t>(1, n); }

}  // namespace

bool loadSmoothed(const std::uint8_t *data, const RowGrid &g, float sigma, std::int32_t steps) {
  const std::ptrdiff_t w = g.width, h = g.height;
  if (!smoothingChangesImage(sigma, steps)) {
    parallelFor(h, atLeastOne(kPixelsPerPart / w),
                [&](std::ptrdiff_t y0, std::ptrdiff_t y1, int) { widenRows(data, g, y0, y1); });
    return true;
  }
  const sweeps::Recursion r(smoothingConstants(sigma, steps), steps);
  constexpr std::ptrdiff_t kLanes = sweeps::kBlockLanes;
  const std::ptrdiff_t blocks = (h + kLanes - 1) / kLanes;
  parallelFor(blocks, atLeastOne(kPixelsPerPart / w / kLanes),
              [&](std::ptrdiff_t b0, std::ptrdiff_t b1, int part) {
                sweepRowsFromBytes(data, g, b0 * kLanes, std::min(h, b1 * kLanes), r,
                                   g.scratchOf(part));
              });
  const std::ptrdiff_t strips = (w + kLanes - 1) / kLanes;
  std::atomic<bool> safe{true};
  parallelFor(
      strips, atLeastOne(kPixelsPerPart / h / kLanes),
      [&](std::ptrdiff_t s0, std::ptrdiff_t s1, int part) {
        if (!sweepColumnsAndScale(g, s0 * kLanes, std::min(w, s1 * kLanes), r, g.scratchOf(part)))
          safe = false;
      });
  return safe;
}
