#include "engine/planeDetector.h"

#include <cstddef>
#include <cstdlib>

#include "engine/PaddedPlane.h"
#include "engine/gradients.h"
#include "engine/hysteresis.h"
#include "engine/largeBlock.h"
#include "engine/lineKernels.h"
#include "engine/planeBorders.h"
#include "engine/smoothGaussian.h"
#include "engine/suppressNonMaxima.h"

namespace {

std::uint8_t edgeByte(float v) {
  if (v > 255.0f) return 255;
  if (!(v >= 0.0f)) return 0;  // negative, or NaN (which no stage leaves behind)
  return static_cast<std::uint8_t>(v);
}

// The working memory of one call, released on every path.
struct Planes {
  std::ptrdiff_t columns;
  float *flat = nullptr;
  PaddedPlane image = nullptr, gx = nullptr, gy = nullptr;

  Planes(std::ptrdiff_t w, std::ptrdiff_t h) : columns(w + 2) {
    flat = static_cast<float *>(allocateLargeBlock(static_cast<std::size_t>(w) *
                                                   static_cast<std::size_t>(h) * sizeof(float)));
    allocPlane(image, columns, h + 2);
    allocPlane(gx, columns, h + 2);
    allocPlane(gy, columns, h + 2);
  }
  bool complete() const {
    return flat && planeIsComplete(image, columns) && planeIsComplete(gx, columns) &&
           planeIsComplete(gy, columns);
  }
  ~Planes() {
    freeLargeBlock(flat);
    freePlane(image, columns);
    freePlane(gx, columns);
    freePlane(gy, columns);
  }
  Planes(const Planes &) = delete;
  Planes &operator=(const Planes &) = delete;
};

}  // namespace

bool detectOnPaddedPlanes(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  const std::ptrdiff_t w = width, h = height;
  Planes p(w, h);
  if (!p.complete()) return false;

  for (std::ptrdiff_t i = 0; i < w * h; ++i) p.flat[i] = data[i];
  for (std::ptrdiff_t x = 0; x <= w + 1; ++x)
    for (std::ptrdiff_t y = 0; y <= h + 1; ++y) p.image[x][y] = 0.0f;
  smoothGaussian(p.flat, width, height, sigma, steps);
  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) p.image[x + 1][y + 1] = p.flat[y * w + x];
  replicateBorder(p.image, w, h);

  computeGradients(p.image, p.gx, p.gy, width, height);
  clearBorder(p.image, w, h);
  for (std::ptrdiff_t x = 1; x <= w; ++x)
    lines::magnitudesAtLeast(t1, p.gx[x], p.gy[x], p.image[x], h);
  if (!suppressNonMaxima(p.image, p.gx, p.gy, width, height)) return false;
  if (!applyHysteresis(p.image, t1, t2, width, height)) return false;

  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) data[y * w + x] = edgeByte(p.image[x + 1][y + 1]);
  return true;
}
