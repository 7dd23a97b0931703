#pragma once
// The recursive smoothing's sweeps, for any memory layout. A sweep pair along
// a line of n samples x[0..n-1]:
//   x[0] *= B; x[k] += nu * x[k-1] for k = 1..n-1;
//   x[n-1] *= B; x[k] += nu * x[k+1] for k = n-2..0;
// repeated `steps` times per line. Lines are independent, so many of them are
// swept in lock step to vectorise; each sample still sees exactly the same
// single-precision operations in the same order as on its own line.
#include <algorithm>
#include <cstddef>

#include <cstdint>
#include "engine/vectorClones.h"

#include "engine/smoothGaussian.h"

namespace canny::detail {

namespace sweeps {

// How many lines a block sweeps in lock step: enough vectors' worth that the
// recursion's latency overlaps, few enough that a block stays in cache.
constexpr std::ptrdiff_t kBlockLanes = 64;

struct Recursion {
  float nu, boundaryScale, gain;
  std::int32_t steps;
  Recursion(const SmoothingConstants &k, std::int32_t steps)
      : nu(static_cast<float>(k.nu)),
        boundaryScale(static_cast<float>(k.boundaryScale)),
        gain(static_cast<float>(k.gain)),
        steps(steps) {}
};

// The two sweeps of a pair over several lines at once: at(k) points at
// position k of the first line, the other lines' samples following it
// contiguously; `count` lines (at most kBlockLanes), or kLanes when that is
// not 0, fixing the count at compile time. The value just computed is carried
// to the next position in registers rather than read back from memory.
template <std::ptrdiff_t kLanes, typename At>
ENGINE_INLINE void causalSweep(At at, std::ptrdiff_t n, std::ptrdiff_t count, float nu, float b) {
  if (kLanes) count = kLanes;
  float carry[kBlockLanes];
  float *first = at(0);
  for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = first[i] = first[i] * b;
  for (std::ptrdiff_t k = 1; k < n; ++k) {
    float *__restrict cur = at(k);
    for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = cur[i] = cur[i] + nu * carry[i];
  }
}
template <std::ptrdiff_t kLanes, typename At>
ENGINE_INLINE void antiCausalSweep(At at, std::ptrdiff_t n, std::ptrdiff_t count, float nu,
                                   float b) {
  if (kLanes) count = kLanes;
  float carry[kBlockLanes];
  float *last = at(n - 1);
  for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = last[i] = last[i] * b;
  for (std::ptrdiff_t k = n - 2; k >= 0; --k) {
    float *__restrict cur = at(k);
    for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = cur[i] = cur[i] + nu * carry[i];
  }
}

// The last anti-causal sweep, in place: the value carried on is the sweep's
// own, what is stored is that times `scale`; visit(k) follows position k.
template <std::ptrdiff_t kLanes, typename At, typename Visit>
ENGINE_INLINE void lastAntiCausalSweep(At at, std::ptrdiff_t n, std::ptrdiff_t count, float nu,
                                       float b, float scale, const Visit &visit) {
  if (kLanes) count = kLanes;
  float carry[kBlockLanes];
  float *last = at(n - 1);
  for (std::ptrdiff_t i = 0; i < count; ++i) {
    carry[i] = last[i] * b;
    last[i] = carry[i] * scale;
  }
  visit(n - 1);
  for (std::ptrdiff_t k = n - 2; k >= 0; --k) {
    float *__restrict cur = at(k);
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      carry[i] = cur[i] + nu * carry[i];
      cur[i] = carry[i] * scale;
    }
    visit(k);
  }
}

// All the sweep pairs, in place.
template <std::ptrdiff_t kLanes, typename At>
ENGINE_INLINE void sweepLanes(At at, std::ptrdiff_t n, std::ptrdiff_t lanes, const Recursion &r) {
  for (std::int32_t s = 0; s < r.steps; ++s) {
    causalSweep<kLanes>(at, n, lanes, r.nu, r.boundaryScale);
    antiCausalSweep<kLanes>(at, n, lanes, r.nu, r.boundaryScale);
  }
}

// Positions sweepBlock moves in and out at a time: a run of them across
// kBlockLanes lines stays in the first-level cache.
constexpr std::ptrdiff_t kRunPositions = 16;

// Positions k0 to k1 - 1 of several lines outside the block: position k of
// line i at first[(k - k0) * stride + i].
template <typename T>
struct Run {
  T *first;
  std::ptrdiff_t stride;
};

// All the sweep pairs over `lanes` lines interleaved in `block` (position k
// of line i at block[k * lanes + i]), fused with moving the lines in and out,
// kRunPositions positions at a time: the first sweep reads its input from
// source(k0, k1), a Run<const float>; the last sweep writes its results,
// times `scale` when kScaled, to sink(k0, k1), a Run<float>, then calls
// flush(k0, k1). The sweeps in between work on the block alone.
template <std::ptrdiff_t kLanes, bool kScaled, typename Source, typename Sink, typename Flush>
ENGINE_INLINE void sweepBlock(float *block, std::ptrdiff_t n, std::ptrdiff_t lanes,
                              const Recursion &r, float scale, const Source &source,
                              const Sink &sink, const Flush &flush) {
  const std::ptrdiff_t count = kLanes ? kLanes : lanes;
  const float nu = r.nu, b = r.boundaryScale;
  const auto at = [&](std::ptrdiff_t k) ENGINE_INLINE_LAMBDA { return block + k * count; };
  float carry[kBlockLanes];
  for (std::ptrdiff_t k0 = 0; k0 < n; k0 += kRunPositions) {
    const std::ptrdiff_t k1 = std::min(n, k0 + kRunPositions);
    const Run<const float> run = source(k0, k1);
    std::ptrdiff_t k = k0;
    if (k == 0) {
      for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = block[i] = run.first[i] * b;
      ++k;
    }
    for (; k < k1; ++k) {
      const float *__restrict in = run.first + (k - k0) * run.stride;
      float *__restrict out = at(k);
      for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = out[i] = in[i] + nu * carry[i];
    }
  }
  for (std::int32_t s = 0; s < r.steps; ++s) {
    if (s > 0) causalSweep<kLanes>(at, n, count, nu, b);
    if (s + 1 < r.steps) antiCausalSweep<kLanes>(at, n, count, nu, b);
  }
  const auto put = [&](float *__restrict out, std::ptrdiff_t i, float v) ENGINE_INLINE_LAMBDA {
    carry[i] = v;
    out[i] = kScaled ? v * scale : v;
  };
  for (std::ptrdiff_t k1 = n; k1 > 0; k1 -= kRunPositions) {
    const std::ptrdiff_t k0 = std::max<std::ptrdiff_t>(0, k1 - kRunPositions);
    const Run<float> run = sink(k0, k1);
    std::ptrdiff_t k = k1 - 1;
    if (k == n - 1) {
      const float *last = at(k);
      float *out = run.first + (k - k0) * run.stride;
      for (std::ptrdiff_t i = 0; i < count; ++i) put(out, i, last[i] * b);
      --k;
    }
    for (; k >= k0; --k) {
      const float *__restrict in = at(k);
      float *__restrict out = run.first + (k - k0) * run.stride;
      for (std::ptrdiff_t i = 0; i < count; ++i) put(out, i, in[i] + nu * carry[i]);
    }
    flush(k0, k1);
  }
}

// Sweeps `lanes` interleaved lines held in scratch: sample k of line i at
// scratch[k * lanes + i].
ENGINE_INLINE void sweepInterleaved(float *scratch, std::ptrdiff_t n, std::ptrdiff_t lanes,
                                    const Recursion &r) {
  const auto at = [&](std::ptrdiff_t k) ENGINE_INLINE_LAMBDA { return scratch + k * lanes; };
  if (lanes == kBlockLanes)
    sweepLanes<kBlockLanes>(at, n, lanes, r);
  else
    sweepLanes<0>(at, n, lanes, r);
}

// Lines whose positions are a fixed distance apart in memory, adjacent lines
// contiguous: at(first, k) points at position k of line `first`. Swept in
// strips narrow enough to stay in cache over all the steps.
template <typename At>
ENGINE_INLINE void acrossLanes(std::ptrdiff_t lines, std::ptrdiff_t n, At at, const Recursion &r) {
  for (std::ptrdiff_t first = 0; first < lines; first += kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(kBlockLanes, lines - first);
    const auto strip = [&](std::ptrdiff_t k) ENGINE_INLINE_LAMBDA { return at(first, k); };
    if (lanes == kBlockLanes)
      sweepLanes<kBlockLanes>(strip, n, lanes, r);
    else
      sweepLanes<0>(strip, n, lanes, r);
  }
}

// Lines that are each contiguous (line(i) points at its first sample): blocks
// of them are transposed into `scratch` (n * kBlockLanes floats), swept in
// lock step and written back multiplied by `scale`. Without scratch memory,
// one line at a time in place.
template <typename Line>
ENGINE_INLINE void alongLines(std::ptrdiff_t lines, std::ptrdiff_t n, Line line, const Recursion &r,
                              float scale, float *scratch) {
  if (!scratch) {
    for (std::ptrdiff_t i = 0; i < lines; ++i) {
      float *x = line(i);
      sweepLanes<1>([&](std::ptrdiff_t k) { return x + k; }, n, 1, r);
      for (std::ptrdiff_t k = 0; k < n; ++k) x[k] = x[k] * scale;
    }
    return;
  }
  for (std::ptrdiff_t first = 0; first < lines; first += kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(kBlockLanes, lines - first);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) {
      const float *x = line(first + i);
      for (std::ptrdiff_t k = 0; k < n; ++k) scratch[k * lanes + i] = x[k];
    }
    sweepInterleaved(scratch, n, lanes, r);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) {
      float *x = line(first + i);
      for (std::ptrdiff_t k = 0; k < n; ++k) x[k] = scratch[k * lanes + i] * scale;
    }
  }
}

}  // namespace sweeps

}  // namespace canny::detail
