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

// Sweep pairs over several lines at once: at(k) points at position k of the
// first line, the other lines' samples following it contiguously. kLanes
// fixes the line count at compile time (at most kBlockLanes); 0 takes it from
// `lanes`. The value just computed is carried to the next position in
// registers rather than read back from memory.
template <std::ptrdiff_t kLanes, typename At>
ENGINE_INLINE void sweepLanes(At at, std::ptrdiff_t n, std::ptrdiff_t lanes, const Recursion &r) {
  const std::ptrdiff_t count = kLanes ? kLanes : lanes;
  const float nu = r.nu, b = r.boundaryScale;
  float carry[kBlockLanes];
  for (std::int32_t s = 0; s < r.steps; ++s) {
    float *first = at(0);
    for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = first[i] = first[i] * b;
    for (std::ptrdiff_t k = 1; k < n; ++k) {
      float *__restrict cur = at(k);
      for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = cur[i] = cur[i] + nu * carry[i];
    }
    float *last = at(n - 1);
    for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = last[i] = last[i] * b;
    for (std::ptrdiff_t k = n - 2; k >= 0; --k) {
      float *__restrict cur = at(k);
      for (std::ptrdiff_t i = 0; i < count; ++i) carry[i] = cur[i] = cur[i] + nu * carry[i];
    }
  }
}

// Sweeps `lanes` interleaved lines held in scratch: sample k of line i at
// scratch[k * lanes + i].
ENGINE_INLINE void sweepInterleaved(float *scratch, std::ptrdiff_t n, std::ptrdiff_t lanes,
                                    const Recursion &r) {
  const auto at = [&](std::ptrdiff_t k) { return scratch + k * lanes; };
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
    const auto strip = [&](std::ptrdiff_t k) { return at(first, k); };
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
