#include "engine/rowSmoothing.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "engine/largeBlock.h"
#include "engine/parallel.h"
#include "engine/smoothGaussian.h"
#include "engine/sweeps.h"
#include "engine/transpose.h"
#include "engine/vectorClones.h"

namespace canny::detail {

namespace {

// Grids larger than this are written past the caches by the row sweeps: the
// column sweeps could not find them there anyway, and a plain store would
// first read each line from memory only to overwrite it whole.
constexpr std::ptrdiff_t kStreamedGridBytes = std::ptrdiff_t{16} << 20;

bool streamsRows(const RowGrid &g) {
#if defined(__SSE__)
  return g.alignedRows &&
         g.stride * (g.height + 2) * std::ptrdiff_t{sizeof(float)} > kStreamedGridBytes;
#else
  return false;
#endif
}

// One whole cache line of floats at `to`, written past the caches.
ENGINE_INLINE void streamLine(float *to, const float *from) {
#if defined(__SSE__)
  for (std::ptrdiff_t j = 0; j < kCacheLineFloats; j += 4)
    _mm_stream_ps(to + j, _mm_load_ps(from + j));
#else
  std::memcpy(to, from, kCacheLineBytes);
#endif
}

ENGINE_INLINE void drainStreams() {
#if defined(__SSE__)
  _mm_sfence();  // streamed lines reach memory before another thread reads them
#endif
}

ENGINE_VECTOR_CLONES
void widenRows(ByteRows bytes, const RowGrid &g, std::ptrdiff_t y0, std::ptrdiff_t y1) {
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const std::uint8_t *in = bytes.row(y);
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

template <std::ptrdiff_t kLanes, bool kScaled, typename... Ends>
ENGINE_INLINE void sweepBlockOf(std::ptrdiff_t lanes, float *block, std::ptrdiff_t n,
                                const sweeps::Recursion &r, float scale, const Ends &...ends) {
  if (lanes == kLanes)
    sweeps::sweepBlock<kLanes, kScaled>(block, n, lanes, r, scale, ends...);
  else
    sweeps::sweepBlock<0, kScaled>(block, n, lanes, r, scale, ends...);
}

// The row sweeps of rows y0 to y1, straight from the bytes: a block of rows
// is widened and transposed into the interleaved layout a run of positions at
// a time as the first sweep reaches it, and transposed back into the grid as
// the last sweep leaves it.
ENGINE_VECTOR_CLONES
void sweepRowsFromBytes(ByteRows bytes, const RowGrid &g, std::ptrdiff_t y0, std::ptrdiff_t y1,
                        const sweeps::Recursion &r, float *scratch) {
  constexpr std::ptrdiff_t kRun = sweeps::kRunPositions;
  static_assert(kRun == 16 && kRun == kCacheLineFloats);  // a run is one line of a row
  const std::ptrdiff_t w = g.width;
  float tile[kRun * kRowLanes];
  const bool streaming = streamsRows(g);
  for (; y0 < y1 && !g.cancelRequested(); y0 += kRowLanes) {
    const std::ptrdiff_t lanes = std::min(kRowLanes, y1 - y0);
    const auto source = [&](std::ptrdiff_t k0, std::ptrdiff_t k1) ENGINE_INLINE_LAMBDA {
      // Widened along the rows first, where it vectorises, then transposed.
      float wide[kRowLanes * kRun];
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const std::uint8_t *in = bytes.row(y0 + i) + k0;
        if (k1 - k0 == kRun)
          transposing::widen16(in, wide + i * kRun);
        else
          for (std::ptrdiff_t k = 0; k < k1 - k0; ++k) wide[i * kRun + k] = in[k];
      }
      transpose(wide, kRun, tile, lanes, k1 - k0, lanes);
      return sweeps::Run<const float>{tile, lanes};
    };
    const auto sink = [&](std::ptrdiff_t, std::ptrdiff_t) ENGINE_INLINE_LAMBDA {
      return sweeps::Run<float>{tile, lanes};
    };
    const auto flush = [&](std::ptrdiff_t k0, std::ptrdiff_t k1) ENGINE_INLINE_LAMBDA {
      if (!streaming || k1 - k0 != kRun) {
        transpose(tile, lanes, g.rows[y0 + 1] + 1 + k0, g.stride, lanes, k1 - k0);
        return;
      }
      alignas(kCacheLineBytes) float lines[kRowLanes * kRun];
      transpose(tile, lanes, lines, kRun, lanes, kRun);
      for (std::ptrdiff_t i = 0; i < lanes; ++i)
        streamLine(g.rows[y0 + 1 + i] + 1 + k0, lines + i * kRun);
    };
    sweepBlockOf<kRowLanes, false>(lanes, scratch, w, r, 1.0f, source, sink, flush);
  }
  if (streaming) drainStreams();
}

// The column sweeps of one strip of adjacent columns, through `block`: the
// first sweep reads position y of the strip, a piece of row y, where it lies,
// and the last writes it back there with the gain on, noting whether any
// sample left the safe range.
template <std::ptrdiff_t kLanes>
ENGINE_INLINE bool sweepStripThrough(float *block, const RowGrid &g, std::ptrdiff_t x0,
                                     std::ptrdiff_t lanes, const sweeps::Recursion &r) {
  int unsafe = 0;  // an int: a bool accumulator keeps the loop from vectorising
  const auto source = [&](std::ptrdiff_t k0, std::ptrdiff_t) ENGINE_INLINE_LAMBDA {
    return sweeps::Run<const float>{g.rows[k0 + 1] + 1 + x0, g.stride};
  };
  const auto sink = [&](std::ptrdiff_t k0, std::ptrdiff_t) ENGINE_INLINE_LAMBDA {
    return sweeps::Run<float>{g.rows[k0 + 1] + 1 + x0, g.stride};
  };
  const auto flush = [&](std::ptrdiff_t k0, std::ptrdiff_t k1) ENGINE_INLINE_LAMBDA {
    for (std::ptrdiff_t k = k0; k < k1; ++k) {
      const float *row = g.rows[k + 1] + 1 + x0;
      for (std::ptrdiff_t i = 0; i < lanes; ++i)
        unsafe |= static_cast<int>(!(__builtin_fabsf(row[i]) < kSafeMagnitude));
    }
  };
  sweeps::sweepBlock<kLanes, true>(block, g.height, lanes, r, r.gain, source, sink, flush);
  return unsafe == 0;
}

// The same in place, without scratch memory, where the columns are longer
// than the scratch memory's rows: a little slower, the positions of a strip
// lying a row apart.
template <std::ptrdiff_t kLanes>
ENGINE_INLINE bool sweepStrip(const RowGrid &g, std::ptrdiff_t x0, std::ptrdiff_t lanes,
                              const sweeps::Recursion &r) {
  const std::ptrdiff_t count = kLanes ? kLanes : lanes;
  const auto at = [&](std::ptrdiff_t k) ENGINE_INLINE_LAMBDA { return g.rows[k + 1] + 1 + x0; };
  int unsafe = 0;  // an int: a bool accumulator keeps the loop from vectorising
  const auto check = [&](std::ptrdiff_t k) ENGINE_INLINE_LAMBDA {
    const float *row = at(k);
    for (std::ptrdiff_t i = 0; i < count; ++i)
      unsafe |= static_cast<int>(!(__builtin_fabsf(row[i]) < kSafeMagnitude));
  };
  const std::ptrdiff_t h = g.height;
  for (std::int32_t s = 0; s < r.steps; ++s) {
    sweeps::causalSweep<kLanes>(at, h, count, r.nu, r.boundaryScale);
    if (s + 1 < r.steps)
      sweeps::antiCausalSweep<kLanes>(at, h, count, r.nu, r.boundaryScale);
    else
      sweeps::lastAntiCausalSweep<kLanes>(at, h, count, r.nu, r.boundaryScale, r.gain, check);
  }
  return unsafe == 0;
}

// The column sweeps of columns x0 to x1, a strip at a time.
ENGINE_VECTOR_CLONES
bool sweepColumnsAndScale(const RowGrid &g, std::ptrdiff_t x0, std::ptrdiff_t x1,
                          const sweeps::Recursion &r, float *scratch) {
  const bool inPlace = g.height > g.width + 2;
  bool safe = true;
  for (; x0 < x1 && !g.cancelRequested(); x0 += kColumnLanes) {
    const std::ptrdiff_t lanes = std::min(kColumnLanes, x1 - x0);
    if (inPlace)
      safe &= lanes == kColumnLanes ? sweepStrip<kColumnLanes>(g, x0, lanes, r)
                                    : sweepStrip<0>(g, x0, lanes, r);
    else
      safe &= lanes == kColumnLanes ? sweepStripThrough<kColumnLanes>(scratch, g, x0, lanes, r)
                                    : sweepStripThrough<0>(scratch, g, x0, lanes, r);
  }
  return safe;
}

std::ptrdiff_t atLeastOne(std::ptrdiff_t n) { return std::max<std::ptrdiff_t>(1, n); }

}  // namespace

bool loadSmoothed(ByteRows bytes, const RowGrid &g, float sigma, std::int32_t steps) {
  const std::ptrdiff_t w = g.width, h = g.height;
  if (!smoothingChangesImage(sigma, steps)) {
    parallelFor(h, atLeastOne(kPixelsPerPart / w),
                [&](std::ptrdiff_t y0, std::ptrdiff_t y1, int) { widenRows(bytes, g, y0, y1); });
    return true;
  }
  const sweeps::Recursion r(smoothingConstants(sigma, steps), steps);
  const std::ptrdiff_t blocks = (h + kRowLanes - 1) / kRowLanes;
  parallelFor(blocks, atLeastOne(kPixelsPerPart / w / kRowLanes),
              [&](std::ptrdiff_t b0, std::ptrdiff_t b1, int part) {
                sweepRowsFromBytes(bytes, g, b0 * kRowLanes, std::min(h, b1 * kRowLanes), r,
                                   g.scratchOf(part));
              });
  if (g.cancelRequested()) return true;
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

}  // namespace canny::detail
