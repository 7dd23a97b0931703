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
#include <cstdlib>

#include "engine/smoothGaussian.h"

namespace sweeps {

struct Recursion {
  float nu, boundaryScale, gain;
  std::int32_t steps;
  Recursion(const SmoothingConstants &k, std::int32_t steps)
      : nu(static_cast<float>(k.nu)),
        boundaryScale(static_cast<float>(k.boundaryScale)),
        gain(static_cast<float>(k.gain)),
        steps(steps) {}
};

// Sweep pairs over `lanes` lines at once; at(k) points at position k of the
// first line, the other lines' samples following it contiguously.
template <typename At>
inline void sweepLanes(At at, std::ptrdiff_t n, std::ptrdiff_t lanes, const Recursion &r) {
  const float nu = r.nu, b = r.boundaryScale;
  for (std::int32_t s = 0; s < r.steps; ++s) {
    float *first = at(0);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) first[i] = first[i] * b;
    for (std::ptrdiff_t k = 1; k < n; ++k) {
      float *__restrict cur = at(k);
      const float *__restrict prev = at(k - 1);
      for (std::ptrdiff_t i = 0; i < lanes; ++i) cur[i] = cur[i] + nu * prev[i];
    }
    float *last = at(n - 1);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) last[i] = last[i] * b;
    for (std::ptrdiff_t k = n - 2; k >= 0; --k) {
      float *__restrict cur = at(k);
      const float *__restrict next = at(k + 1);
      for (std::ptrdiff_t i = 0; i < lanes; ++i) cur[i] = cur[i] + nu * next[i];
    }
  }
}

// Lines whose positions are a fixed distance apart in memory (adjacent lanes
// contiguous): at(first, k) points at position k of line `first`. Swept in
// strips narrow enough to stay in cache over all the steps.
template <typename At>
inline void acrossLanes(std::ptrdiff_t lines, std::ptrdiff_t n, At at, const Recursion &r) {
  const std::ptrdiff_t strip =
      std::clamp<std::ptrdiff_t>((std::ptrdiff_t{1} << 15) / n / 16 * 16, 16, 256);
  for (std::ptrdiff_t first = 0; first < lines; first += strip) {
    const std::ptrdiff_t lanes = std::min(strip, lines - first);
    sweepLanes([&](std::ptrdiff_t k) { return at(first, k); }, n, lanes, r);
  }
}

// Lines that are each contiguous (line(i) points at its first sample): a block
// of them is transposed into scratch memory, swept in lock step and written
// back multiplied by `scale`. Without scratch memory, one line at a time.
template <typename Line>
inline void alongLines(std::ptrdiff_t lines, std::ptrdiff_t n, Line line, const Recursion &r,
                       float scale) {
  constexpr std::ptrdiff_t kBlock = 16;
  auto *block = static_cast<float *>(std::malloc(static_cast<std::size_t>(n) * kBlock * sizeof(float)));
  const std::ptrdiff_t lanes = block ? kBlock : 1;
  float *scratch = block;
  for (std::ptrdiff_t first = 0; first < lines; first += lanes) {
    const std::ptrdiff_t count = std::min(lanes, lines - first);
    if (!block) {
      float *x = line(first);
      sweepLanes([&](std::ptrdiff_t k) { return x + k; }, n, 1, r);
      for (std::ptrdiff_t k = 0; k < n; ++k) x[k] = x[k] * scale;
      continue;
    }
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      const float *x = line(first + i);
      for (std::ptrdiff_t k = 0; k < n; ++k) scratch[k * count + i] = x[k];
    }
    sweepLanes([&](std::ptrdiff_t k) { return scratch + k * count; }, n, count, r);
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      float *x = line(first + i);
      for (std::ptrdiff_t k = 0; k < n; ++k) x[k] = scratch[k * count + i] * scale;
    }
  }
  std::free(block);
}

}  // namespace sweeps
