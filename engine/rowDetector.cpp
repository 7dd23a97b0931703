#include "engine/rowDetector.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <utility>

#include "engine/PaddedPlane.h"
#include "engine/hysteresis.h"
#include "engine/lineKernels.h"
#include "engine/smoothGaussian.h"
#include "engine/sweeps.h"
#include "engine/vectorClones.h"

// Throughout, rows[y][x] is the cell the plain form calls image[x][y]: row y
// of the padded grid, pixel (x - 1, y - 1) of the picture in its interior.

namespace {

// Below this no Sobel sum, difference or scaled gradient can overflow, so no
// gradient is infinite and no angle is NaN.
constexpr float kSafeMagnitude = 1e37f;

ENGINE_VECTOR_CLONES
void widenRows(const std::uint8_t *data, float **rows, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t y = 0; y < h; ++y) {
    const std::uint8_t *in = data + y * w;
    float *out = rows[y + 1] + 1;
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = in[x];
  }
}

// The row sweeps straight from the bytes: a block of rows is widened into
// scratch already interleaved, swept there in lock step and written back.
ENGINE_VECTOR_CLONES
void sweepRowsFromBytes(const std::uint8_t *data, float **rows, std::ptrdiff_t w,
                        std::ptrdiff_t h, const sweeps::Recursion &r, float *scratch) {
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, h - y0);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) {
      const std::uint8_t *in = data + (y0 + i) * w;
      for (std::ptrdiff_t k = 0; k < w; ++k) scratch[k * lanes + i] = in[k];
    }
    sweeps::sweepInterleaved(scratch, w, lanes, r);
    for (std::ptrdiff_t i = 0; i < lanes; ++i) {
      float *out = rows[y0 + i + 1] + 1;
      for (std::ptrdiff_t k = 0; k < w; ++k) out[k] = scratch[k * lanes + i];
    }
  }
}

// The column sweeps: position y of a strip of adjacent columns is contiguous
// in row y. Then the gain, noting whether any sample left the safe range.
ENGINE_VECTOR_CLONES
bool sweepColumnsAndScale(float **rows, std::ptrdiff_t w, std::ptrdiff_t h,
                          const sweeps::Recursion &r) {
  int unsafe = 0;
  const float gain = r.gain;
  for (std::ptrdiff_t x0 = 0; x0 < w; x0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, w - x0);
    const auto at = [&](std::ptrdiff_t k) { return rows[k + 1] + 1 + x0; };
    if (lanes == sweeps::kBlockLanes)
      sweeps::sweepLanes<sweeps::kBlockLanes>(at, h, lanes, r);
    else
      sweeps::sweepLanes<0>(at, h, lanes, r);
    for (std::ptrdiff_t y = 0; y < h; ++y) {
      float *strip = at(y);
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const float v = strip[i] * gain;
        strip[i] = v;
        unsafe |= static_cast<int>(!(__builtin_fabsf(v) < kSafeMagnitude));
      }
    }
  }
  return unsafe == 0;
}

// Fills the picture into the grid's interior, smoothed. Returns false when a
// smoothed sample is NaN or too large for the row pipeline.
bool loadSmoothed(const std::uint8_t *data, float **rows, std::ptrdiff_t w, std::ptrdiff_t h,
                  float sigma, std::int32_t steps) {
  if (!smoothingChangesImage(sigma, steps)) {
    widenRows(data, rows, w, h);
    return true;
  }
  const sweeps::Recursion r(smoothingConstants(sigma, steps), steps);
  auto *scratch = static_cast<float *>(
      std::malloc(static_cast<std::size_t>(w) * sweeps::kBlockLanes * sizeof(float)));
  if (scratch) {
    sweepRowsFromBytes(data, rows, w, h, r, scratch);
    std::free(scratch);
  } else {
    widenRows(data, rows, w, h);
    sweeps::alongLines(
        h, w, [&](std::ptrdiff_t y) { return rows[y + 1] + 1; }, r, 1.0f, nullptr);
  }
  return sweepColumnsAndScale(rows, w, h, r);
}

// Border cells take the value of the nearest pixel, the border rows first;
// the four corners stay 0.
void replicateBorder(float **rows, std::ptrdiff_t w, std::ptrdiff_t h) {
  rows[0][0] = rows[0][w + 1] = rows[h + 1][0] = rows[h + 1][w + 1] = 0.0f;
  std::copy(rows[1] + 1, rows[1] + w + 1, rows[0] + 1);
  std::copy(rows[h] + 1, rows[h] + w + 1, rows[h + 1] + 1);
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    rows[y][0] = rows[y][1];
    rows[y][w + 1] = rows[y][w];
  }
}

// Gradients, the t1 cut and suppression, leaving the thinned magnitudes in
// the grid's interior. Row y of the picture is overwritten only once the
// gradients of row y + 1, the last to read it, are done.
ENGINE_VECTOR_CLONES
bool thinRows(float **rows, float t1, std::ptrdiff_t w, std::ptrdiff_t h) {
  const std::ptrdiff_t n = w + 2;
  // Zeros for the border rows, gradients of two rows, magnitudes of three.
  auto *scratch = static_cast<float *>(std::calloc(static_cast<std::size_t>(n) * 8, sizeof(float)));
  if (!scratch) return false;
  const float *zeros = scratch;
  float *gx[2] = {scratch + n, scratch + 2 * n};
  float *gy[2] = {scratch + 3 * n, scratch + 4 * n};
  float *magnitude[3] = {scratch + 5 * n, scratch + 6 * n, scratch + 7 * n};
  const auto gradientsOfRow = [&](std::ptrdiff_t y) {
    float *rowGx = gx[y % 2], *rowGy = gy[y % 2], *rowMagnitude = magnitude[y % 3];
    lines::gradients(rows[y - 1], rows[y], rows[y + 1], rowGy, rowGx, w);
    lines::magnitudesAtLeast(t1, rowGx, rowGy, rowMagnitude, w);
  };
  const SectorBounds &bounds = sectorBounds();

  gradientsOfRow(1);
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    if (y < h) gradientsOfRow(y + 1);
    const float *above = y > 1 ? magnitude[(y - 1) % 3] : zeros;
    const float *below = y < h ? magnitude[(y + 1) % 3] : zeros;
    lines::suppressRow(above, magnitude[y % 3], below, gx[y % 2], gy[y % 2], rows[y], w, bounds);
  }
  std::free(scratch);
  return true;
}

// Marked cells hold 255 (or a larger seed value); every other cell becomes 0.
ENGINE_VECTOR_CLONES
void writeEdgeMap(float **rows, std::uint8_t *data, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t y = 0; y < h; ++y) {
    const float *in = rows[y + 1] + 1;
    std::uint8_t *out = data + y * w;
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = in[x] >= kEdgeMark ? 255 : 0;
  }
}

}  // namespace

RowDetection detectByRows(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return RowDetection::done;
  const std::ptrdiff_t w = width, h = height;
  float **rows = nullptr;
  allocPlane(rows, h + 2, w + 2);  // a plane of rows: h + 2 lines of w + 2 cells
  RowDetection result = RowDetection::outOfMemory;
  if (planeIsComplete(rows, h + 2)) {
    if (!loadSmoothed(data, rows, w, h, sigma, steps)) {
      result = RowDetection::needsColumnOrder;
    } else {
      replicateBorder(rows, w, h);
      if (thinRows(rows, t1, w, h) && markEdgesInRows(rows, t1, t2, width, height)) {
        writeEdgeMap(rows, data, w, h);
        result = RowDetection::done;
      }
    }
  }
  freePlane(rows, h + 2);
  return result;
}
