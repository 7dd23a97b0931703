#include "ReferenceDetector.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

namespace reference {
namespace {

// A padded grid of (width + 2) x (height + 2) cells, column after column, all 0 at first.
struct Grid {
  std::int32_t width, height;
  std::vector<float> cells;

  Grid(std::int32_t w, std::int32_t h)
      : width(w), height(h), cells(static_cast<std::size_t>(w + 2) * (h + 2), 0.0f) {}
  float &at(std::int32_t x, std::int32_t y) { return cells[x * (height + 2) + y]; }
  float at(std::int32_t x, std::int32_t y) const { return cells[x * (height + 2) + y]; }
};

void smooth(std::vector<float> &flat, std::int32_t width, std::int32_t height, float sigma,
            std::int32_t steps) {
  // With no steps the gain is exactly 1: nothing changes.
  if (sigma <= 0 || steps <= 0) return;
  const float sigmaSquared = sigma * sigma;
  const double lambda =
      static_cast<double>(sigmaSquared) / (static_cast<double>(steps) + static_cast<double>(steps));
  // Tiny lambdas cancel in the first form; the second is the same value, kept exact.
  const double nu = lambda < 1e-4
                        ? (lambda + lambda) / ((lambda + lambda) + 1 + std::sqrt(lambda * 4 + 1))
                        : ((lambda + lambda) + 1 - std::sqrt(lambda * 4 + 1)) / (lambda + lambda);
  const auto gain = static_cast<float>(std::pow(nu / lambda, static_cast<double>(2 * steps)));
  const auto nuF = static_cast<float>(nu);
  const auto boundary = static_cast<float>(1 / (1 - nu));

  auto sweepPair = [&](float *first, std::int32_t n, std::int32_t stride) {
    auto x = [&](std::int32_t k) -> float & { return first[static_cast<std::size_t>(k) * stride]; };
    x(0) = x(0) * boundary;
    for (std::int32_t k = 1; k < n; ++k) x(k) = x(k) + nuF * x(k - 1);
    x(n - 1) = x(n - 1) * boundary;
    for (std::int32_t k = n - 2; k >= 0; --k) x(k) = x(k) + nuF * x(k + 1);
  };
  for (std::int32_t r = 0; r < height; ++r)
    for (std::int32_t s = 0; s < steps; ++s)
      sweepPair(&flat[static_cast<std::size_t>(r) * width], width, 1);
  for (std::int32_t c = 0; c < width; ++c)
    for (std::int32_t s = 0; s < steps; ++s) sweepPair(&flat[c], height, width);
  for (float &v : flat) v = v * gain;
}

void gradients(const Grid &i, Grid &gx, Grid &gy) {
  auto sum = [](float first, float middle, float last) { return (first + 2.0f * middle) + last; };
  for (std::int32_t x = 1; x <= i.width; ++x)
    for (std::int32_t y = 1; y <= i.height; ++y) {
      const float right = sum(i.at(x + 1, y - 1), i.at(x + 1, y), i.at(x + 1, y + 1));
      const float left = sum(i.at(x - 1, y - 1), i.at(x - 1, y), i.at(x - 1, y + 1));
      const float below = sum(i.at(x - 1, y + 1), i.at(x, y + 1), i.at(x + 1, y + 1));
      const float above = sum(i.at(x - 1, y - 1), i.at(x, y - 1), i.at(x + 1, y - 1));
      gx.at(x, y) = (right - left) * 0.125f;
      gy.at(x, y) = (below - above) * 0.125f;
    }
}

float angle(float gx, float gy) {
  if (static_cast<double>(std::fabs(gx)) < 1e-6)
    return static_cast<double>(std::fabs(gy)) < 1e-6 ? 0.0f : 1.5708f;
  return ::atanf(gy / gx);
}

int sector(double a) {
  if (-0.3927 <= a && a <= 0.3927) return 1;
  if (0.3927 < a && a <= 1.1781) return 2;
  if ((1.1781 < a && a <= 1.5708) || (-1.5708 <= a && a < -1.1781)) return 3;
  if (-1.1781 <= a && a < -0.3927) return 4;
  return 0;
}

void suppress(Grid &magnitudes, const Grid &gx, const Grid &gy) {
  const Grid before = magnitudes;
  // Offsets of the first and second neighbour compared in each sector.
  static const int pairs[5][4] = {
      {0, 0, 0, 0}, {-1, 0, 1, 0}, {-1, -1, 1, 1}, {0, -1, 0, 1}, {1, -1, -1, 1}};
  for (std::int32_t x = 1; x <= magnitudes.width; ++x)
    for (std::int32_t y = 1; y <= magnitudes.height; ++y) {
      const float m = before.at(x, y);
      if (m == 0) continue;
      const int s = sector(static_cast<double>(angle(gx.at(x, y), gy.at(x, y))));
      if (s == 0) return;
      const int *p = pairs[s];
      if (before.at(x + p[0], y + p[1]) > m || before.at(x + p[2], y + p[3]) > m)
        magnitudes.at(x, y) = 0.0f;
    }
}

void hysteresis(Grid &magnitudes, float t1, float t2) {
  const Grid before = magnitudes;
  Grid edge(before.width, before.height);  // 1 where reached
  std::deque<std::pair<std::int32_t, std::int32_t>> pending;
  auto mark = [&](std::int32_t x, std::int32_t y) {
    edge.at(x, y) = 1;
    pending.emplace_back(x, y);
  };
  for (std::int32_t x = 1; x <= before.width; ++x)
    for (std::int32_t y = 1; y <= before.height; ++y)
      if (before.at(x, y) >= t2) mark(x, y);
  while (!pending.empty()) {
    const auto [x, y] = pending.front();
    pending.pop_front();
    for (std::int32_t nx = x - 1; nx <= x + 1; ++nx)
      for (std::int32_t ny = y - 1; ny <= y + 1; ++ny) {
        const bool interior = nx >= 1 && nx <= before.width && ny >= 1 && ny <= before.height;
        if (!interior || edge.at(nx, ny) == 1) continue;
        if (t1 < before.at(nx, ny) && before.at(nx, ny) <= t2) mark(nx, ny);
      }
  }
  for (std::int32_t x = 1; x <= before.width; ++x)
    for (std::int32_t y = 1; y <= before.height; ++y) {
      float &v = magnitudes.at(x, y);
      v = edge.at(x, y) == 1 ? 255.0f : v < 255 ? 0.0f : v;
    }
}

// Everything before hysteresis; `seen`, when given, keeps each stage's interior.
Grid thinnedMagnitudes(float t1, float sigma, std::int32_t steps, std::int32_t w, std::int32_t h,
                       const std::uint8_t *data, Stages *seen) {
  std::vector<float> flat(data, data + static_cast<std::size_t>(w) * h);
  smooth(flat, w, h, sigma, steps);
  if (seen) seen->smoothed = flat;

  // Each border cell repeats its nearest pixel, the corners included.
  Grid image(w, h), gx(w, h), gy(w, h);
  for (std::int32_t x = 0; x <= w + 1; ++x)
    for (std::int32_t y = 0; y <= h + 1; ++y)
      image.at(x, y) =
          flat[static_cast<std::size_t>(std::clamp(y, 1, h) - 1) * w + (std::clamp(x, 1, w) - 1)];
  gradients(image, gx, gy);

  // The border's gradients were never written: 0, so the border's magnitude is 0 too.
  auto magnitude = [&](std::int32_t x, std::int32_t y) {
    return std::sqrt(gx.at(x, y) * gx.at(x, y) + gy.at(x, y) * gy.at(x, y));
  };
  for (std::int32_t x = 0; x <= w + 1; ++x)
    for (std::int32_t y = 0; y <= h + 1; ++y)
      image.at(x, y) = magnitude(x, y) >= t1 ? magnitude(x, y) : 0.0f;
  suppress(image, gx, gy);
  if (seen) {
    seen->magnitude.resize(flat.size());
    seen->thinned.resize(flat.size());
    for (std::int32_t y = 1; y <= h; ++y)
      for (std::int32_t x = 1; x <= w; ++x) {
        const std::size_t i = static_cast<std::size_t>(y - 1) * w + (x - 1);
        seen->magnitude[i] = magnitude(x, y);
        seen->thinned[i] = image.at(x, y);
      }
  }
  return image;
}

}  // namespace

Stages stages(float t1, float sigma, std::int32_t steps, std::int32_t width, std::int32_t height,
              const std::uint8_t *data) {
  Stages seen;
  if (width >= 1 && height >= 1) thinnedMagnitudes(t1, sigma, steps, width, height, data, &seen);
  return seen;
}

void detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t w, std::int32_t h,
            std::uint8_t *data) {
  if (w < 1 || h < 1) return;
  Grid image = thinnedMagnitudes(t1, sigma, steps, w, h, data, nullptr);
  hysteresis(image, t1, t2);

  for (std::int32_t y = 1; y <= h; ++y)
    for (std::int32_t x = 1; x <= w; ++x)
      data[static_cast<std::size_t>(y - 1) * w + (x - 1)] =
          static_cast<std::uint8_t>(std::clamp(image.at(x, y), 0.0f, 255.0f));
}

}  // namespace reference
