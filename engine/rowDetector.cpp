#include "engine/rowDetector.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "engine/PaddedPlane.h"
#include "engine/gridHysteresis.h"
#include "engine/lineKernels.h"
#include "engine/parallel.h"
#include "engine/smoothGaussian.h"
#include "engine/sweeps.h"
#include "engine/transpose.h"
#include "engine/vectorClones.h"

// Throughout, rows[y][x] is the cell the plain form calls image[x][y]: row y
// of the padded grid, pixel (x - 1, y - 1) of the picture in its interior.

namespace {

// Below this no Sobel sum, difference or scaled gradient can overflow, so no
// gradient is infinite and no angle is NaN.
constexpr float kSafeMagnitude = 1e37f;

// Work is split so that each part has at least this many pixels; below that,
// starting a thread costs more than it saves.
constexpr std::ptrdiff_t kPixelsPerPart = 1 << 16;

std::ptrdiff_t rowsPerPart(std::ptrdiff_t w) { return std::max<std::ptrdiff_t>(1, kPixelsPerPart / w); }

ENGINE_VECTOR_CLONES
void widenRows(const std::uint8_t *data, float **rows, std::ptrdiff_t w, std::ptrdiff_t y0,
               std::ptrdiff_t y1) {
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const std::uint8_t *in = data + y * w;
    float *out = rows[y + 1] + 1;
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = in[x];
  }
}

// The row sweeps straight from the bytes, rows y0 to y1: a block of rows is
// widened into scratch already interleaved, swept there in lock step and
// written back. The grid's rows are `stride` cells apart in one block.
ENGINE_VECTOR_CLONES
void sweepRowsFromBytes(const std::uint8_t *data, float *grid, std::ptrdiff_t stride,
                        std::ptrdiff_t w, std::ptrdiff_t y0, std::ptrdiff_t y1,
                        const sweeps::Recursion &r, float *scratch) {
  for (; y0 < y1; y0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, y1 - y0);
    transpose(data + y0 * w, w, scratch, lanes, w, lanes);
    sweeps::sweepInterleaved(scratch, w, lanes, r);
    transpose(scratch, lanes, grid + (y0 + 1) * stride + 1, stride, lanes, w);
  }
}

// The column sweeps of columns x0 to x1, a strip at a time: position y of a
// strip is a contiguous piece of row y, copied into scratch so that the
// sweeps run over contiguous memory. The gain goes on as the strip is copied
// back, noting whether any sample left the safe range.
ENGINE_VECTOR_CLONES
bool sweepColumnsAndScale(float **rows, std::ptrdiff_t x0, std::ptrdiff_t x1, std::ptrdiff_t h,
                          const sweeps::Recursion &r, float *scratch) {
  int unsafe = 0;
  const float gain = r.gain;
  for (; x0 < x1; x0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, x1 - x0);
    for (std::ptrdiff_t y = 0; y < h; ++y)
      std::memcpy(scratch + y * lanes, rows[y + 1] + 1 + x0,
                  static_cast<std::size_t>(lanes) * sizeof(float));
    sweeps::sweepInterleaved(scratch, h, lanes, r);
    for (std::ptrdiff_t y = 0; y < h; ++y) {
      const float *from = scratch + y * lanes;
      float *to = rows[y + 1] + 1 + x0;
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const float v = from[i] * gain;
        to[i] = v;
        unsafe |= static_cast<int>(!(__builtin_fabsf(v) < kSafeMagnitude));
      }
    }
  }
  return unsafe == 0;
}

// The same without scratch memory: the strip is swept where it lies.
bool sweepColumnsInPlace(float **rows, std::ptrdiff_t x0, std::ptrdiff_t x1, std::ptrdiff_t h,
                         const sweeps::Recursion &r) {
  int unsafe = 0;
  for (; x0 < x1; x0 += sweeps::kBlockLanes) {
    const std::ptrdiff_t lanes = std::min(sweeps::kBlockLanes, x1 - x0);
    sweeps::sweepLanes<0>([&](std::ptrdiff_t k) { return rows[k + 1] + 1 + x0; }, h, lanes, r);
    for (std::ptrdiff_t y = 1; y <= h; ++y)
      for (std::ptrdiff_t i = 0; i < lanes; ++i) {
        const float v = rows[y][1 + x0 + i] * r.gain;
        rows[y][1 + x0 + i] = v;
        unsafe |= static_cast<int>(!(__builtin_fabsf(v) < kSafeMagnitude));
      }
  }
  return unsafe == 0;
}

float *allocScratch(std::ptrdiff_t positions) {
  return static_cast<float *>(
      std::malloc(static_cast<std::size_t>(positions) * sweeps::kBlockLanes * sizeof(float)));
}

// Fills the picture into the grid's interior, smoothed. Returns false when a
// smoothed sample is NaN or too large for the row pipeline.
bool loadSmoothed(const std::uint8_t *data, float **rows, std::ptrdiff_t w, std::ptrdiff_t h,
                  float sigma, std::int32_t steps) {
  if (!smoothingChangesImage(sigma, steps)) {
    parallelFor(h, rowsPerPart(w), [&](std::ptrdiff_t y0, std::ptrdiff_t y1) {
      widenRows(data, rows, w, y0, y1);
    });
    return true;
  }
  const sweeps::Recursion r(smoothingConstants(sigma, steps), steps);
  float *grid = rows[0];
  const std::ptrdiff_t stride = w + 2;
  const std::ptrdiff_t blocks = (h + sweeps::kBlockLanes - 1) / sweeps::kBlockLanes;
  parallelFor(blocks, rowsPerPart(w) / sweeps::kBlockLanes, [&](std::ptrdiff_t b0, std::ptrdiff_t b1) {
    const std::ptrdiff_t y0 = b0 * sweeps::kBlockLanes, y1 = std::min(h, b1 * sweeps::kBlockLanes);
    float *scratch = allocScratch(w);
    if (scratch) {
      sweepRowsFromBytes(data, grid, stride, w, y0, y1, r, scratch);
    } else {  // one row at a time, in place
      widenRows(data, rows, w, y0, y1);
      sweeps::alongLines(
          y1 - y0, w, [&](std::ptrdiff_t i) { return rows[y0 + i + 1] + 1; }, r, 1.0f, nullptr);
    }
    std::free(scratch);
  });
  const std::ptrdiff_t strips = (w + sweeps::kBlockLanes - 1) / sweeps::kBlockLanes;
  std::atomic<bool> safe{true};
  parallelFor(strips, std::max<std::ptrdiff_t>(1, kPixelsPerPart / h / sweeps::kBlockLanes),
              [&](std::ptrdiff_t s0, std::ptrdiff_t s1) {
                const std::ptrdiff_t x0 = s0 * sweeps::kBlockLanes;
                const std::ptrdiff_t x1 = std::min(w, s1 * sweeps::kBlockLanes);
                float *scratch = allocScratch(h);
                const bool partSafe = scratch ? sweepColumnsAndScale(rows, x0, x1, h, r, scratch)
                                              : sweepColumnsInPlace(rows, x0, x1, h, r);
                std::free(scratch);
                if (!partSafe) safe = false;
              });
  return safe;
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

// Gradients, the t1 cut and suppression of rows y0 to y1 - 1, leaving the
// thinned magnitudes in the grid's interior. Row y is overwritten only once
// the gradients of row y + 1, the last to read it, are done.
ENGINE_VECTOR_CLONES
bool thinRows(float *const *rows, float t1, std::ptrdiff_t w, std::ptrdiff_t h, std::ptrdiff_t y0,
              std::ptrdiff_t y1) {
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

  if (y0 > 1) gradientsOfRow(y0 - 1);
  gradientsOfRow(y0);
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    if (y < h) gradientsOfRow(y + 1);
    const float *above = y > 1 ? magnitude[(y - 1) % 3] : zeros;
    const float *below = y < h ? magnitude[(y + 1) % 3] : zeros;
    lines::suppressRow(above, magnitude[y % 3], below, gx[y % 2], gy[y % 2], rows[y], w, bounds);
  }
  std::free(scratch);
  return true;
}

// thinRows over all rows, in parts. A part reads the two rows beyond each of
// its ends, which the neighbouring parts overwrite; it reads copies of them,
// made before any part starts.
bool thinAllRows(float **rows, float t1, std::ptrdiff_t w, std::ptrdiff_t h) {
  const int parts = partsFor(h, rowsPerPart(w));
  if (parts == 1) return thinRows(rows, t1, w, h, 1, h + 1);
  const std::size_t rowBytes = static_cast<std::size_t>(w + 2) * sizeof(float);
  auto *copies = static_cast<float *>(std::malloc(rowBytes * 4 * static_cast<std::size_t>(parts)));
  std::vector<std::vector<float *>> views;
  try {
    views.assign(static_cast<std::size_t>(parts), std::vector<float *>(rows, rows + h + 2));
  } catch (const std::bad_alloc &) {
    std::free(copies);
    return thinRows(rows, t1, w, h, 1, h + 1);
  }
  if (!copies) return thinRows(rows, t1, w, h, 1, h + 1);
  for (int part = 0; part < parts; ++part) {
    const Range r = partOf(h, parts, part);
    float *copy = copies + static_cast<std::ptrdiff_t>(4 * part) * (w + 2);
    // Interior rows r.begin - 1, r.begin, r.end + 1, r.end + 2 in the grid's
    // numbering (1-based): the two before and the two after the part.
    const std::ptrdiff_t shared[4] = {r.begin - 1, r.begin, r.end + 1, r.end + 2};
    for (int i = 0; i < 4; ++i) {
      const std::ptrdiff_t y = shared[i];
      if (y < 1 || y > h || (y >= r.begin + 1 && y <= r.end)) continue;
      std::memcpy(copy + i * (w + 2), rows[y], rowBytes);
      views[static_cast<std::size_t>(part)][static_cast<std::size_t>(y)] = copy + i * (w + 2);
    }
  }
  std::atomic<bool> done{true};
  runParts(parts, [&](int part) {
    const Range r = partOf(h, parts, part);
    if (!thinRows(views[static_cast<std::size_t>(part)].data(), t1, w, h, r.begin + 1, r.end + 1))
      done = false;
  });
  std::free(copies);
  return done;
}

// Edge cells hold the mark; cells of at least 255 that are not edges are
// written as 255 too, as the plain form's clamp would; every other cell is 0.
ENGINE_VECTOR_CLONES
void writeEdgeMap(float **rows, std::uint8_t *data, std::ptrdiff_t w, std::ptrdiff_t y0,
                  std::ptrdiff_t y1) {
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const float *in = rows[y + 1] + 1;
    std::uint8_t *out = data + y * w;
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = (in[x] != in[x]) | (in[x] >= 255.0f) ? 255 : 0;
  }
}

// Every stage on a grid whose rows lie one after another in one block.
RowDetection detectOnGrid(float **rows, float t1, float t2, float sigma, std::int32_t steps,
                          std::ptrdiff_t w, std::ptrdiff_t h, std::uint8_t *data) {
  if (!loadSmoothed(data, rows, w, h, sigma, steps)) return RowDetection::needsColumnOrder;
  replicateBorder(rows, w, h);
  if (!thinAllRows(rows, t1, w, h)) return RowDetection::outOfMemory;
  float *grid = rows[0];
  const std::ptrdiff_t stride = w + 2;
  fenceGrid(grid, stride, w, h);
  if (!linkEdges(grid, stride, w, h, t1, t2)) return RowDetection::outOfMemory;
  parallelFor(h, rowsPerPart(w), [&](std::ptrdiff_t y0, std::ptrdiff_t y1) {
    writeEdgeMap(rows, data, w, y0, y1);
  });
  return RowDetection::done;
}

}  // namespace

RowDetection detectByRows(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return RowDetection::done;
  const std::ptrdiff_t w = width, h = height;
  float **rows = nullptr;
  allocPlane(rows, h + 2, w + 2);  // a plane of rows: h + 2 lines of w + 2 cells, one block
  const RowDetection result = planeIsComplete(rows, h + 2)
                                  ? detectOnGrid(rows, t1, t2, sigma, steps, w, h, data)
                                  : RowDetection::outOfMemory;
  freePlane(rows, h + 2);
  return result;
}
