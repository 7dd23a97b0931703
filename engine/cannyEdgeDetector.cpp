#include "engine/cannyEdgeDetector.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "engine/PaddedPlane.h"
#include "engine/gradients.h"
#include "engine/hysteresis.h"
#include "engine/smoothGaussian.h"
#include "engine/suppressNonMaxima.h"

namespace {

// Moving between the row-major buffer and the column-major plane visits the
// plane a band of rows at a time, so each column's cache line is reused.
constexpr std::ptrdiff_t kBandRows = 16;

void copyIntoPlane(const float *flat, PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += kBandRows) {
    const std::ptrdiff_t y1 = std::min(y0 + kBandRows, h);
    for (std::ptrdiff_t x = 0; x < w; ++x) {
      float *column = image[x + 1] + 1;
      for (std::ptrdiff_t y = y0; y < y1; ++y) column[y] = flat[y * w + x];
    }
  }
}

// Border cells take the value of the nearest pixel, columns first; the four
// corners end up 0 because they are copied from border columns that still
// hold 0 at that moment.
void replicateBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h) {
  image[0][0] = image[0][h + 1] = 0.0f;
  image[w + 1][0] = image[w + 1][h + 1] = 0.0f;
  for (std::ptrdiff_t x = 1; x <= w; ++x) {
    image[x][0] = image[x][1];
    image[x][h + 1] = image[x][h];
  }
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    image[0][y] = image[1][y];
    image[w + 1][y] = image[w][y];
  }
}

void clearBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t x = 1; x <= w; ++x) image[x][0] = image[x][h + 1] = 0.0f;
  for (std::ptrdiff_t y = 0; y <= h + 1; ++y) image[0][y] = image[w + 1][y] = 0.0f;
}

// Gradient magnitude, each square, the sum and the root rounded to float;
// magnitudes below t1 (or unordered with it) become 0.
void magnitudesAtLeast(float t1, PaddedPlane image, PaddedPlane gx, PaddedPlane gy,
                       std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t x = 1; x <= w; ++x) {
    float *__restrict out = image[x];
    const float *__restrict gxColumn = gx[x];
    const float *__restrict gyColumn = gy[x];
    for (std::ptrdiff_t y = 1; y <= h; ++y) {
      const float a = gxColumn[y] * gxColumn[y];
      const float b = gyColumn[y] * gyColumn[y];
      const float m = std::sqrt(a + b);
      out[y] = m >= t1 ? m : 0.0f;
    }
  }
}

std::uint8_t edgeByte(float v) {
  if (v > 255.0f) return 255;
  if (!(v >= 0.0f)) return 0;  // negative, or NaN (which no stage leaves behind)
  return static_cast<std::uint8_t>(v);
}

void copyOutOfPlane(PaddedPlane image, std::uint8_t *data, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += kBandRows) {
    const std::ptrdiff_t y1 = std::min(y0 + kBandRows, h);
    for (std::ptrdiff_t x = 0; x < w; ++x) {
      const float *column = image[x + 1] + 1;
      for (std::ptrdiff_t y = y0; y < y1; ++y) data[y * w + x] = edgeByte(column[y]);
    }
  }
}

// The working memory of one call, released on every path.
struct WorkingMemory {
  std::ptrdiff_t columns;
  float *flat = nullptr;
  PaddedPlane image = nullptr, gx = nullptr, gy = nullptr;

  WorkingMemory(std::ptrdiff_t w, std::ptrdiff_t h) : columns(w + 2) {
    flat = static_cast<float *>(std::malloc(static_cast<std::size_t>(w) *
                                            static_cast<std::size_t>(h) * sizeof(float)));
    if (!flat) return;
    allocPlane(image, columns, h + 2);
    if (!planeIsComplete(image, columns)) return;
    allocPlane(gx, columns, h + 2);
    if (!planeIsComplete(gx, columns)) return;
    allocPlane(gy, columns, h + 2);
  }
  bool complete() const { return flat && planeIsComplete(gy, columns); }
  ~WorkingMemory() {
    std::free(flat);
    freePlane(image, columns);
    freePlane(gx, columns);
    freePlane(gy, columns);
  }
  WorkingMemory(const WorkingMemory &) = delete;
  WorkingMemory &operator=(const WorkingMemory &) = delete;
};

}  // namespace

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return;
  const std::ptrdiff_t w = width, h = height, count = w * h;
  WorkingMemory memory(w, h);
  if (!memory.complete()) return;

  for (std::ptrdiff_t i = 0; i < count; ++i) memory.flat[i] = data[i];
  smoothGaussian(memory.flat, width, height, sigma, steps);
  copyIntoPlane(memory.flat, memory.image, w, h);
  replicateBorder(memory.image, w, h);

  computeGradients(memory.image, memory.gx, memory.gy, width, height);
  clearBorder(memory.image, w, h);
  magnitudesAtLeast(t1, memory.image, memory.gx, memory.gy, w, h);

  if (!suppressNonMaxima(memory.image, memory.gx, memory.gy, width, height)) return;
  if (!applyHysteresis(memory.image, t1, t2, width, height)) return;
  copyOutOfPlane(memory.image, data, w, h);
}
