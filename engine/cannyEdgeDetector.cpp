#include "engine/cannyEdgeDetector.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/PaddedPlane.h"
#include "engine/columnKernels.h"
#include "engine/hysteresis.h"
#include "engine/smoothGaussian.h"
#include "engine/vectorClones.h"

// The detector works on one padded plane. Gradients, magnitudes and
// suppression run as one pass over the columns with a few columns of scratch,
// which gives exactly what the separate stages give over whole gx, gy and
// magnitude planes, without their memory.

namespace {

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

// Gradients and cut magnitudes of one column, with a zero border row above and
// below the magnitudes (what suppression reads there).
struct ColumnGradient {
  float *gx, *gy, *magnitude;
};

class GradientPass {
 public:
  GradientPass(PaddedPlane image, float t1, std::ptrdiff_t h) : image_(image), t1_(t1), h_(h) {}

  void compute(std::ptrdiff_t x, const ColumnGradient &out) const {
    column::gradients(image_[x - 1], image_[x], image_[x + 1], out.gx, out.gy, h_);
    column::magnitudesAtLeast(t1_, out.gx, out.gy, out.magnitude, h_);
    out.magnitude[0] = out.magnitude[h_ + 1] = 0.0f;
  }

 private:
  PaddedPlane image_;
  float t1_;
  std::ptrdiff_t h_;
};

// Gradients, the t1 cut and suppression for every interior cell, leaving the
// thinned magnitudes in the image plane's interior. Column x of the picture is
// overwritten only once the gradients of column x + 1 no longer need it.
ENGINE_VECTOR_CLONES
bool thinnedMagnitudes(PaddedPlane image, float t1, std::ptrdiff_t w, std::ptrdiff_t h) {
  const std::ptrdiff_t rows = h + 2;
  // Zeros for the border columns, gradients of two columns, magnitudes of three.
  auto *scratch = static_cast<float *>(std::calloc(static_cast<std::size_t>(rows) * 8, sizeof(float)));
  if (!scratch) return false;
  const float *zeros = scratch;
  float *magnitudeOf[3] = {scratch + 5 * rows, scratch + 6 * rows, scratch + 7 * rows};
  ColumnGradient current{scratch + rows, scratch + 2 * rows, magnitudeOf[1]};
  ColumnGradient next{scratch + 3 * rows, scratch + 4 * rows, nullptr};
  const SectorBounds &bounds = sectorBounds();
  const GradientPass pass(image, t1, h);

  pass.compute(1, current);
  const float *previousMagnitude = zeros;
  bool stopped = false;
  for (std::ptrdiff_t x = 1; x <= w; ++x) {
    const float *nextMagnitude = zeros;
    if (x < w) {
      next.magnitude = magnitudeOf[(x + 1) % 3];
      pass.compute(x + 1, next);
      nextMagnitude = next.magnitude;
    }
    if (stopped) {  // a NaN angle ended suppression: the rest keeps its magnitudes
      std::memcpy(image[x] + 1, current.magnitude + 1, static_cast<std::size_t>(h) * sizeof(float));
    } else {
      stopped = column::suppress(previousMagnitude, current.magnitude, nextMagnitude, current.gx,
                                 current.gy, image[x], h, bounds) != 0;
    }
    previousMagnitude = current.magnitude;
    std::swap(current, next);
  }
  std::free(scratch);
  return true;
}

// Writes the edge map back in buffer order. Marked cells hold 255 (or a
// larger seed value), every other interior cell becomes 0: this is the
// hysteresis clear and the conversion to bytes in one pass. The plane is read
// a band of rows at a time, so each column's cache line is reused.
ENGINE_VECTOR_CLONES
void writeEdgeMap(PaddedPlane image, std::uint8_t *data, std::ptrdiff_t w, std::ptrdiff_t h) {
  constexpr std::ptrdiff_t kBand = 16;
  for (std::ptrdiff_t y0 = 0; y0 < h; y0 += kBand) {
    const std::ptrdiff_t y1 = std::min(y0 + kBand, h);
    for (std::ptrdiff_t x = 0; x < w; ++x) {
      const float *column = image[x + 1] + 1;
      for (std::ptrdiff_t y = y0; y < y1; ++y)
        data[y * w + x] = column[y] >= kEdgeMark ? 255 : 0;
    }
  }
}

}  // namespace

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return;
  const std::ptrdiff_t w = width, h = height;
  PaddedPlane image = nullptr;
  allocPlane(image, w + 2, h + 2);
  if (planeIsComplete(image, w + 2)) {
    smoothIntoPlane(data, image, width, height, sigma, steps);
    replicateBorder(image, w, h);
    if (thinnedMagnitudes(image, t1, w, h)) {
      clearBorder(image, w, h);
      if (markEdges(image, t1, t2, width, height)) writeEdgeMap(image, data, w, h);
    }
  }
  freePlane(image, w + 2);
}
