#include "ReferenceDetector.h"

#include <cmath>
#include <deque>
#include <vector>

namespace reference {
namespace {

// A padded grid of (width + 2) x (height + 2) cells, column after column.
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
  if (sigma <= 0 || steps <= 0 || width < 1 || height < 1) return;
  const float sigmaSquared = sigma * sigma;
  const double lambda =
      static_cast<double>(sigmaSquared) / (static_cast<double>(steps) + static_cast<double>(steps));
  const double nu = ((lambda + lambda) + 1 - std::sqrt(lambda * 4 + 1)) / (lambda + lambda);
  const double gain = std::pow(nu / lambda, static_cast<double>(2 * steps));
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
  const auto gainF = static_cast<float>(gain);
  for (float &v : flat) v = v * gainF;
}

void gradients(const Grid &image, Grid &gx, Grid &gy) {
  for (std::int32_t x = 1; x <= image.width; ++x)
    for (std::int32_t y = 1; y <= image.height; ++y) {
      const float right =
          (image.at(x + 1, y - 1) + 2.0f * image.at(x + 1, y)) + image.at(x + 1, y + 1);
      const float left =
          (image.at(x - 1, y - 1) + 2.0f * image.at(x - 1, y)) + image.at(x - 1, y + 1);
      const float below =
          (image.at(x - 1, y + 1) + 2.0f * image.at(x, y + 1)) + image.at(x + 1, y + 1);
      const float above =
          (image.at(x - 1, y - 1) + 2.0f * image.at(x, y - 1)) + image.at(x + 1, y - 1);
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
  std::vector<bool> edge(before.cells.size(), false);
  std::deque<std::pair<std::int32_t, std::int32_t>> pending;
  auto interior = [&](std::int32_t x, std::int32_t y) {
    return x >= 1 && x <= before.width && y >= 1 && y <= before.height;
  };
  auto mark = [&](std::int32_t x, std::int32_t y) {
    edge[x * (before.height + 2) + y] = true;
    pending.emplace_back(x, y);
  };
  for (std::int32_t x = 1; x <= before.width; ++x)
    for (std::int32_t y = 1; y <= before.height; ++y)
      if (before.at(x, y) >= t2) mark(x, y);
  while (!pending.empty()) {
    const auto [x, y] = pending.front();
    pending.pop_front();
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const std::int32_t nx = x + dx, ny = y + dy;
        if (!interior(nx, ny) || edge[nx * (before.height + 2) + ny]) continue;
        const float v = before.at(nx, ny);
        if (t1 < v && v <= t2) mark(nx, ny);
      }
  }
  for (std::int32_t x = 1; x <= before.width; ++x)
    for (std::int32_t y = 1; y <= before.height; ++y) {
      float &v = magnitudes.at(x, y);
      if (edge[x * (before.height + 2) + y])
        v = 255.0f;
      else if (v < 255)
        v = 0.0f;
    }
}

}  // namespace

void detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
            std::int32_t height, std::uint8_t *data) {
  if (width < 1 || height < 1) return;
  const std::int32_t w = width, h = height;
  std::vector<float> flat(data, data + static_cast<std::size_t>(w) * h);
  smooth(flat, w, h, sigma, steps);

  Grid image(w, h), gx(w, h), gy(w, h);
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x)
      image.at(x + 1, y + 1) = flat[static_cast<std::size_t>(y) * w + x];
  for (std::int32_t x = 0; x <= w + 1; ++x) {
    image.at(x, 0) = image.at(x, 1);
    image.at(x, h + 1) = image.at(x, h);
  }
  for (std::int32_t y = 1; y <= h; ++y) {
    image.at(0, y) = image.at(1, y);
    image.at(w + 1, y) = image.at(w, y);
  }
  gradients(image, gx, gy);

  for (std::int32_t x = 0; x <= w + 1; ++x) image.at(x, 0) = image.at(x, h + 1) = 0.0f;
  for (std::int32_t y = 0; y <= h + 1; ++y) image.at(0, y) = image.at(w + 1, y) = 0.0f;
  for (std::int32_t x = 1; x <= w; ++x)
    for (std::int32_t y = 1; y <= h; ++y) {
      const float m = std::sqrt(gx.at(x, y) * gx.at(x, y) + gy.at(x, y) * gy.at(x, y));
      image.at(x, y) = m >= t1 ? m : 0.0f;
    }
  suppress(image, gx, gy);
  hysteresis(image, t1, t2);

  for (std::int32_t y = 1; y <= h; ++y)
    for (std::int32_t x = 1; x <= w; ++x) {
      const float v = image.at(x, y);
      data[static_cast<std::size_t>(y - 1) * w + (x - 1)] = v < 0 ? 0
                                                            : v > 255
                                                                ? 255
                                                                : static_cast<std::uint8_t>(v);
    }
}

}  // namespace reference
