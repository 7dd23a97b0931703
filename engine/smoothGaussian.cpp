#include "engine/smoothGaussian.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/sweeps.h"
#include "engine/vectorClones.h"

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

bool smoothingChangesImage(float sigma, std::int32_t steps) {
  // Not "sigma <= 0": a NaN sigma smooths (into NaN).
  return !(sigma <= 0.0f) && steps > 0;
}

namespace {

float *allocScratch(std::ptrdiff_t n) {
  return static_cast<float *>(
      std::malloc(static_cast<std::size_t>(n) * sweeps::kBlockLanes * sizeof(float)));
}

ENGINE_VECTOR_CLONES
void smoothFlat(float *image, std::ptrdiff_t w, std::ptrdiff_t h, const sweeps::Recursion &r) {
  float *scratch = allocScratch(w);
  // Rows: each row is a contiguous line; the gain waits until the columns are done.
  sweeps::alongLines(
      h, w, [&](std::ptrdiff_t row) { return image + row * w; }, r, 1.0f, scratch);
  std::free(scratch);
  // Columns: position m of a strip of adjacent columns is contiguous in row m.
  sweeps::acrossLanes(
      w, h, [&](std::ptrdiff_t c0, std::ptrdiff_t m) { return image + m * w + c0; }, r);
  const std::ptrdiff_t count = w * h;
  const float gain = r.gain;
  for (std::ptrdiff_t i = 0; i < count; ++i) image[i] = image[i] * gain;
}

// Widens the bytes into the plane's interior, a band of rows at a time so
// that each column's cache line is reused.
ENGINE_VECTOR_CLONES
void widenIntoPlane(const std::uint8_t *data, PaddedPlane plane, std::ptrdiff_t w,
                    std::ptrdiff_t h) {
  constexpr std::ptrdiff_t kBand = 16;
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += kBand) {
    const std::ptrdiff_t y1 = std::min(y0 + kBand, h);
    for (std::ptrdiff_t x = 0; x < w; ++x) {
      float *column = plane[x + 1] + 1;
      for (std::ptrdiff_t y = y0; y < y1; ++y) column[y] = data[y * w + x];
    }
  }
}

// Rows straight from the bytes: a band of rows is widened into scratch already
// interleaved (which is the plane's column-major order), swept there, and each
// column's share of the band copied into the plane.
ENGINE_VECTOR_CLONES
void smoothRowsIntoPlane(const std::uint8_t *data, PaddedPlane plane, std::ptrdiff_t w,
                         std::ptrdiff_t h, const sweeps::Recursion &r, float *scratch) {
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, h - y0);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) {
      const std::uint8_t *row = data + (y0 + i) * w;
      for (std::ptrdiff_t k = 0; k < w; ++k) scratch[k * lanes + i] = row[k];
    }
    sweeps::sweepInterleaved(scratch, w, lanes, r);
    for (std::ptrdiff_t k = 0; k < w; ++k)
      std::memcpy(plane[k + 1] + 1 + y0, scratch + k * lanes,
                  static_cast<std::size_t>(lanes) * sizeof(float));
  }
}

ENGINE_VECTOR_CLONES
void smoothColumnsOfPlane(PaddedPlane plane, std::ptrdiff_t w, std::ptrdiff_t h,
                          const sweeps::Recursion &r, float *scratch) {
  // Each column is a contiguous line; the gain goes on as they are written
  // back, after their last sweep.
  sweeps::alongLines(
      w, h, [&](std::ptrdiff_t x) { return plane[x + 1] + 1; }, r, r.gain, scratch);
}

ENGINE_VECTOR_CLONES
void smoothRowsOfPlane(PaddedPlane plane, std::ptrdiff_t w, std::ptrdiff_t h,
                       const sweeps::Recursion &r) {
  // Position x of a band of adjacent rows is contiguous in column x.
  sweeps::acrossLanes(
      h, w, [&](std::ptrdiff_t y0, std::ptrdiff_t x) { return plane[x + 1] + 1 + y0; }, r);
}

}  // namespace

void smoothGaussian(float *image, std::int32_t width, std::int32_t height, float sigma,
                    std::int32_t steps) {
  // With no step the gain is exactly 1 and nothing would change.
  if (!smoothingChangesImage(sigma, steps) || width <= 0 || height <= 0) return;
  smoothFlat(image, width, height, sweeps::Recursion(smoothingConstants(sigma, steps), steps));
}

void smoothIntoPlane(const std::uint8_t *data, PaddedPlane plane, std::int32_t width,
                     std::int32_t height, float sigma, std::int32_t steps) {
  if (width <= 0 || height <= 0) return;
  const std::ptrdiff_t w = width, h = height;
  if (!smoothingChangesImage(sigma, steps)) {
    widenIntoPlane(data, plane, w, h);
    return;
  }
  const sweeps::Recursion r(smoothingConstants(sigma, steps), steps);
  float *scratch = allocScratch(std::max(w, h));
  if (scratch) {
    smoothRowsIntoPlane(data, plane, w, h, r, scratch);
  } else {
    widenIntoPlane(data, plane, w, h);
    smoothRowsOfPlane(plane, w, h, r);
  }
  smoothColumnsOfPlane(plane, w, h, r, scratch);
  std::free(scratch);
}
