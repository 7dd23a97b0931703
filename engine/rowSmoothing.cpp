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

// Lines swept in lock step, chosen by measurement: a block of rows is
// transposed on its way in and out, which costs more the more rows are in
// flight; the columns of a strip arrive as pieces of rows, which costs more
// the narrower the strip.
constexpr std::ptrdiff_t kRowLanes = 32;
constexpr std::ptrdiff_t kColumnLanes = sweeps::kBlockLanes;

template <std::ptrdiff_t kLanes, typename Load, typename Store>
ENGINE_INLINE void sweepBlockOf(std::ptrdiff_t lanes, float *block, std::ptrdiff_t n,
                                const sweeps::Recursion &r, const Load &load, const Store &store) {
  if (lanes == kLanes)
    sweeps::sweepBlock<kLanes>(block, n, lanes, r, load, store);
  else
    sweeps::sweepBlock<0>(block, n, lanes, r, load, store);
}

// The row sweeps of rows y0 to y1, straight from the bytes: a block of rows
// is widened and transposed into the interleaved layout a tile at a time as
// the first sweep reaches it, and transposed back into the grid as the last
// sweep leaves it.
ENGINE_VECTOR_CLONES
void sweepRowsFromBytes(const std::uint8_t *data, const RowGrid &g, std::ptrdiff_t y0,
                        std::ptrdiff_t y1, const sweeps::Recursion &r, float *scratch) {
  const std::ptrdiff_t w = g.width;
  for (; y0 < y1; y0 += kRowLanes) {
    const std::ptrdiff_t lanes = std::min(kRowLanes, y1 - y0);
    const auto load = [&](std::ptrdiff_t k0, std::ptrdiff_t k1, float *tile) {
      // Widened along the rows first, where it vectorises, then transposed.
      constexpr std::ptrdiff_t kTile = sweeps::kTilePositions;
      static_assert(kTile == 16);
      float wide[kRowLanes * kTile];
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const std::uint8_t *in = data + (y0 + i) * w + k0;
        if (k1 - k0 == kTile)
          transposing::widen16(in, wide + i * kTile);
        else
          for (std::ptrdiff_t k = 0; k < k1 - k0; ++k) wide[i * kTile + k] = in[k];
      }
      transpose(wide, kTile, tile, lanes, k1 - k0, lanes);
    };
    const auto store = [&](std::ptrdiff_t k0, std::ptrdiff_t k1, const float *tile) {
      transpose(tile, lanes, g.rows[y0 + 1] + 1 + k0, g.stride, lanes, k1 - k0);
    };
    sweepBlockOf<kRowLanes>(lanes, scratch, w, r, load, store);
  }
}

// The column sweeps of columns x0 to x1, a strip at a time: position y of a
// strip is a piece of row y, copied into the interleaved layout as the first
// sweep reaches it. The gain goes on as the last sweep hands the strip back,
// noting whether any sample left the safe range.
ENGINE_VECTOR_CLONES
bool sweepColumnsAndScale(const RowGrid &g, std::ptrdiff_t x0, std::ptrdiff_t x1,
                          const sweeps::Recursion &r, float *scratch) {
  const float gain = r.gain;
  int unsafe = 0;  // an int: a bool accumulator keeps the loop from vectorising
  for (; x0 < x1; x0 += kColumnLanes) {
    const std::ptrdiff_t lanes = std::min(kColumnLanes, x1 - x0);
    const auto load = [&](std::ptrdiff_t k0, std::ptrdiff_t k1, float *tile) {
      for (std::ptrdiff_t k = k0; k < k1; ++k)
        std::memcpy(tile + (k - k0) * lanes, g.rows[k + 1] + 1 + x0,
                    static_cast<std::size_t>(lanes) * sizeof(float));
    };
    const auto store = [&](std::ptrdiff_t k0, std::ptrdiff_t k1, const float *tile) {
      for (std::ptrdiff_t k = k0; k < k1; ++k) {
        const float *from = tile + (k - k0) * lanes;
        float *to = g.rows[k + 1] + 1 + x0;
        for (std::ptrdiff_t i = 0; i < lanes; ++i) {
          const float v = from[i] * gain;
          to[i] = v;
          unsafe |= static_cast<int>(!(__builtin_fabsf(v) < kSafeMagnitude));
        }
      }
    };
    sweepBlockOf<kColumnLanes>(lanes, scratch, g.height, r, load, store);
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
  const std::ptrdiff_t blocks = (h + kRowLanes - 1) / kRowLanes;
  parallelFor(blocks, atLeastOne(kPixelsPerPart / w / kRowLanes),
              [&](std::ptrdiff_t b0, std::ptrdiff_t b1, int part) {
                sweepRowsFromBytes(data, g, b0 * kRowLanes, std::min(h, b1 * kRowLanes), r,
                                   g.scratchOf(part));
              });
  const std::ptrdiff_t strips = (w + kColumnLanes - 1) / kColumnLanes;
  std::atomic<bool> safe{true};
  parallelFor(strips, atLeastOne(kPixelsPerPart / h / kColumnLanes),
              [&](std::ptrdiff_t s0, std::ptrdiff_t s1, int part) {
                if (!sweepColumnsAndScale(g, s0 * kColumnLanes, std::min(w, s1 * kColumnLanes), r,
                                          g.scratchOf(part)))
                  safe = false;
              });
  return safe;
}
