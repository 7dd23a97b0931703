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
#include "engine/viewChecks.h"

namespace canny::detail {

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

// The interior of a plane, row after row.
void copyInterior(PaddedPlane plane, std::ptrdiff_t w, std::ptrdiff_t h, float *values) {
  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) values[y * w + x] = plane[x + 1][y + 1];
}

Status runPlainPipeline(ConstImageView input, const Settings &s, Stage last, float *values,
                        ImageView edges) {
  const std::ptrdiff_t w = input.width, h = input.height;
  Planes p(w, h);
  if (!p.complete()) return Status::outOfMemory;
  const auto done = [&](PaddedPlane plane) {
    copyInterior(plane, w, h, values);
    return Status::ok;
  };

  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) p.flat[y * w + x] = input.data[y * input.stride + x];
  for (std::ptrdiff_t x = 0; x <= w + 1; ++x)
    for (std::ptrdiff_t y = 0; y <= h + 1; ++y) p.image[x][y] = 0.0f;
  smoothGaussian(p.flat, input.width, input.height, s.sigma, s.steps);
  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) p.image[x + 1][y + 1] = p.flat[y * w + x];
  replicateBorder(p.image, w, h);
  if (last == Stage::smoothed) return done(p.image);

  computeGradients(p.image, p.gx, p.gy, input.width, input.height);
  if (last == Stage::gradientX) return done(p.gx);
  if (last == Stage::gradientY) return done(p.gy);
  if (last == Stage::sector) {
    for (std::ptrdiff_t y = 0; y < h; ++y)
      for (std::ptrdiff_t x = 0; x < w; ++x)
        values[y * w + x] = float(gradientSector(p.gx[x + 1][y + 1], p.gy[x + 1][y + 1]));
    return Status::ok;
  }
  clearBorder(p.image, w, h);
  // A cut at 0 keeps every magnitude (NaN aside): the magnitude as it is.
  const float cut = last == Stage::magnitude ? 0.0f : s.t1;
  for (std::ptrdiff_t x = 1; x <= w; ++x)
    lines::magnitudesAtLeast(cut, p.gx[x], p.gy[x], p.image[x], h);
  if (last == Stage::magnitude) return done(p.image);
  if (!suppressNonMaxima(p.image, p.gx, p.gy, input.width, input.height))
    return Status::outOfMemory;
  if (last == Stage::thinned) return done(p.image);
  if (!applyHysteresis(p.image, s.t1, s.t2, input.width, input.height)) return Status::outOfMemory;

  for (std::ptrdiff_t y = 0; y < h; ++y)
    for (std::ptrdiff_t x = 0; x < w; ++x) {
      const std::uint8_t e = edgeByte(p.image[x + 1][y + 1]);
      if (values)
        values[y * w + x] = e;
      else
        edges.data[y * edges.stride + x] = e;
    }
  return Status::ok;
}

bool detectOnPaddedPlanes(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  const ImageView bytes{data, width, height, width};
  return runPlainPipeline({data, width, height, width}, {t1, t2, sigma, steps}, Stage::edges,
                          nullptr, bytes) == Status::ok;
}

}  // namespace canny::detail

namespace canny {

Status computeStage(ConstImageView input, Stage stage, float *values, const Settings &settings) {
  if (!detail::isValid(input.data, input.width, input.height, input.stride) ||
      (!values && input.width > 0 && input.height > 0))
    return Status::invalidArgument;
  if (input.width == 0 || input.height == 0) return Status::ok;
  return detail::runPlainPipeline(input, settings, stage, values, {});
}

Status detectEdgesPlainly(ConstImageView input, ImageView output, const Settings &settings) {
  if (!detail::isValid(input.data, input.width, input.height, input.stride) ||
      !detail::isValid(output.data, output.width, output.height, output.stride) ||
      input.width != output.width || input.height != output.height)
    return Status::invalidArgument;
  if (input.width == 0 || input.height == 0) return Status::ok;
  return detail::runPlainPipeline(input, settings, Stage::edges, nullptr, output);
}

}  // namespace canny
