#include "web/engine/shrinkRgba.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace {
// The source pixels under one target pixel and how much of each it covers.
struct Span {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Span> spans(int from, int to) {
  std::vector<Span> all(static_cast<std::size_t>(to));
  const double scale = double(from) / to;
  for (int i = 0; i < to; ++i) {
    const double begin = i * scale, end = std::min(double(from), (i + 1) * scale);
    Span &span = all[static_cast<std::size_t>(i)];
    span.first = int(std::floor(begin));
    for (int j = span.first; j < from && j < end; ++j)
      span.weights.push_back(std::min(end, j + 1.0) - std::max(begin, double(j)));
  }
  return all;
}
}  // namespace

int eighthOf(int length) {
  if (length <= 0) return 0;
  return int(std::floor(length * 0.125 + 1e-6));
}

bool shrinkRgba(const std::uint8_t *from, int width, int height, std::uint8_t *to, int toWidth,
                int toHeight) {
  if (toWidth <= 0 || toHeight <= 0 || toWidth > width || toHeight > height) return false;
  const std::size_t rowLength = std::size_t(width) * 4;
  const std::unique_ptr<double[]> row(new (std::nothrow) double[rowLength]);
  if (!row) return false;
  const std::vector<Span> across = spans(width, toWidth), down = spans(height, toHeight);
  for (const Span &v : down) {
    // The rows under this target row, weighted, then the columns of that sum.
    std::fill(row.get(), row.get() + rowLength, 0.0);
    double rowWeight = 0;
    for (std::size_t k = 0; k < v.weights.size(); ++k) {
      const std::uint8_t *source = from + (std::size_t(v.first) + k) * std::size_t(width) * 4;
      for (std::size_t i = 0; i < rowLength; ++i) row[i] += v.weights[k] * source[i];
      rowWeight += v.weights[k];
    }
    for (const Span &u : across) {
      double sum[4] = {0, 0, 0, 0}, weight = 0;
      for (std::size_t k = 0; k < u.weights.size(); ++k) {
        const double *pixel = &row[(std::size_t(u.first) + k) * 4];
        for (int c = 0; c < 4; ++c) sum[c] += u.weights[k] * pixel[c];
        weight += u.weights[k];
      }
      for (int c = 0; c < 4; ++c)
        *to++ = std::uint8_t(std::lround(std::clamp(sum[c] / (weight * rowWeight), 0.0, 255.0)));
    }
  }
  return true;
}
