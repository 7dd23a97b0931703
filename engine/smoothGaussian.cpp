#include "engine/smoothGaussian.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace {

// Rows are swept a block at a time, transposed so that the recursion along a
// row runs in lock step over kBlockRows rows and vectorises. Each row still
// sees exactly the same operations in the same order as on its own.
constexpr std::ptrdiff_t kBlockRows = 16;

// One sweep pair over a line of n samples, `stride` apart.
void sweepPair(float *x, std::ptrdiff_t n, std::ptrdiff_t stride, float nu, float b) {
  x[0] = x[0] * b;
  for (std::ptrdiff_t k = 1; k < n; ++k) x[k * stride] = x[k * stride] + nu * x[(k - 1) * stride];
  x[(n - 1) * stride] = x[(n - 1) * stride] * b;
  for (std::ptrdiff_t k = n - 2; k >= 0; --k)
    x[k * stride] = x[k * stride] + nu * x[(k + 1) * stride];
}

// Sweep pairs over `lanes` interleaved lines of n samples: sample k of line r
// is at x[k * lanes + r]. Lines are independent, so the inner loops vectorise.
template <std::ptrdiff_t lanes>
void sweepInterleaved(float *__restrict x, std::ptrdiff_t n, std::int32_t steps, float nu,
                      float b) {
  for (std::int32_t s = 0; s < steps; ++s) {
    for (std::ptrdiff_t r = 0; r < lanes; ++r) x[r] = x[r] * b;
    for (std::ptrdiff_t k = 1; k < n; ++k) {
      float *__restrict cur = x + k * lanes;
      const float *__restrict prev = cur - lanes;
      for (std::ptrdiff_t r = 0; r < lanes; ++r) cur[r] = cur[r] + nu * prev[r];
    }
    float *last = x + (n - 1) * lanes;
    for (std::ptrdiff_t r = 0; r < lanes; ++r) last[r] = last[r] * b;
    for (std::ptrdiff_t k = n - 2; k >= 0; --k) {
      float *__restrict cur = x + k * lanes;
      const float *__restrict next = cur + lanes;
      for (std::ptrdiff_t r = 0; r < lanes; ++r) cur[r] = cur[r] + nu * next[r];
    }
  }
}

void smoothRows(float *image, std::ptrdiff_t width, std::ptrdiff_t height, std::int32_t steps,
                float nu, float b) {
  std::ptrdiff_t row = 0;
  auto *block = static_cast<float *>(
      std::malloc(static_cast<std::size_t>(width) * kBlockRows * sizeof(float)));
  if (block) {
    for (; row + kBlockRows <= height; row += kBlockRows) {
      float *rows = image + row * width;
      for (std::ptrdiff_t r = 0; r < kBlockRows; ++r)
        for (std::ptrdiff_t k = 0; k < width; ++k) block[k * kBlockRows + r] = rows[r * width + k];
      sweepInterleaved<kBlockRows>(block, width, steps, nu, b);
      for (std::ptrdiff_t r = 0; r < kBlockRows; ++r)
        for (std::ptrdiff_t k = 0; k < width; ++k) rows[r * width + k] = block[k * kBlockRows + r];
    }
    std::free(block);
  }
  // The rows left over (or all of them, without scratch memory) one by one.
  for (; row < height; ++row)
    for (std::int32_t s = 0; s < steps; ++s) sweepPair(image + row * width, width, 1, nu, b);
}

// Columns are already interleaved in a row-major image: a strip of adjacent
// columns is swept together, narrow enough to stay in cache over all steps.
void smoothColumns(float *image, std::ptrdiff_t width, std::ptrdiff_t height, std::int32_t steps,
                   float nu, float b) {
  const std::ptrdiff_t strip =
      std::clamp<std::ptrdiff_t>((std::ptrdiff_t{1} << 16) / height / 16 * 16, 16, 256);
  for (std::ptrdiff_t c0 = 0; c0 < width; c0 += strip) {
    const std::ptrdiff_t n = std::min(strip, width - c0);
    float *col = image + c0;
    for (std::int32_t s = 0; s < steps; ++s) {
      for (std::ptrdiff_t c = 0; c < n; ++c) col[c] = col[c] * b;
      for (std::ptrdiff_t m = 1; m < height; ++m) {
        float *__restrict cur = col + m * width;
        const float *__restrict prev = cur - width;
        for (std::ptrdiff_t c = 0; c < n; ++c) cur[c] = cur[c] + nu * prev[c];
      }
      float *last = col + (height - 1) * width;
      for (std::ptrdiff_t c = 0; c < n; ++c) last[c] = last[c] * b;
      for (std::ptrdiff_t m = height - 2; m >= 0; --m) {
        float *__restrict cur = col + m * width;
        const float *__restrict next = cur + width;
        for (std::ptrdiff_t c = 0; c < n; ++c) cur[c] = cur[c] + nu * next[c];
      }
    }
  }
}

}  // namespace

SmoothingConstants smoothingConstants(float sigma, std::int32_t steps) {
  const float s = sigma * sigma;
  const double twiceSteps = static_cast<double>(steps) + static_cast<double>(steps);
  const double lambda = static_cast<double>(s) / twiceSteps;
  const double nu = ((lambda + lambda) + 1.0 - std::sqrt(lambda * 4.0 + 1.0)) / (lambda + lambda);
  // 2 * steps as a whole number, formed wide so that no step count overflows.
  const double gain = std::pow(nu / lambda, static_cast<double>(2 * std::int64_t{steps}));
  const double boundaryScale = 1.0 / (1.0 - nu);
  return {lambda, nu, gain, boundaryScale};
}

void smoothGaussian(float *image, std::int32_t width, std::int32_t height, float sigma,
                    std::int32_t steps) {
  if (sigma <= 0.0f) return;
  if (steps < 0) return;
  // No sweep and a gain of exactly 1: the image would come back unchanged.
  if (steps == 0 || width <= 0 || height <= 0) return;

  const SmoothingConstants k = smoothingConstants(sigma, steps);
  const float nu = static_cast<float>(k.nu);
  const float b = static_cast<float>(k.boundaryScale);
  const float gain = static_cast<float>(k.gain);

  smoothRows(image, width, height, steps, nu, b);
  smoothColumns(image, width, height, steps, nu, b);
  const std::ptrdiff_t count = std::ptrdiff_t{width} * height;
  for (std::ptrdiff_t i = 0; i < count; ++i) image[i] = image[i] * gain;
}
