#include "imaging/EdgeStages.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/PaddedPlane.h"
#include "engine/gradients.h"
#include "engine/lineKernels.h"
#include "engine/planeBorders.h"
#include "engine/smoothGaussian.h"
#include "engine/suppressNonMaxima.h"
#include "imaging/GrayBitmap.h"

namespace {

// One padded plane, released on every path.
struct Plane {
  std::int64_t columns;
  PaddedPlane cells = nullptr;
  Plane(std::int64_t w, std::int64_t h) : columns(w + 2) { allocPlane(cells, columns, h + 2); }
  ~Plane() { freePlane(cells, columns); }
  Plane(const Plane &) = delete;
  Plane &operator=(const Plane &) = delete;
  bool complete() const { return planeIsComplete(cells, columns); }
};

// The interior of the plane, row after row, and its gray picture.
StagePicture drawn(PaddedPlane plane, int w, int h, bool scaleToLargest) {
  StagePicture stage;
  stage.values.resize(std::size_t(w) * std::size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) stage.values[std::size_t(y) * w + x] = plane[x + 1][y + 1];
  if (scaleToLargest) {
    stage.white = 0.0f;
    for (float v : stage.values)
      if (v > stage.white) stage.white = v;  // NaN never wins
  }
  stage.image = QImage(w, h, QImage::Format_Grayscale8);
  for (int y = 0; y < h; ++y) {
    uchar *row = stage.image.scanLine(y);
    for (int x = 0; x < w; ++x) {
      const double v = stage.values[std::size_t(y) * w + x] * 255.0 / stage.white;
      // NaN (also 0 / 0 where there is no magnitude at all) and below 0 are black.
      row[x] = v >= 0.0 ? uchar(std::lround(std::min(v, 255.0))) : 0;
    }
  }
  return stage;
}

}  // namespace

StagePicture computeStage(const QImage &picture, const EdgeSettings &s, EdgeStage stage) {
  const int w = picture.width(), h = picture.height();
  if (w <= 0 || h <= 0 || stage == EdgeStage::kEdgeMap) return {};
  std::vector<uchar> bytes(std::size_t(w) * std::size_t(h));
  QImage gray = grayBitmapOver(bytes.data(), w, h);
  drawGray(picture, gray);

  // As the plain detector goes: smoothing on the flat floats, then the planes.
  std::vector<float> flat(bytes.begin(), bytes.end());
  smoothGaussian(flat.data(), w, h, s.sigma, s.steps);
  Plane image(w, h), gx(w, h), gy(w, h);
  if (!image.complete() || !gx.complete() || !gy.complete()) return {};
  for (int x = 0; x <= w + 1; ++x) std::fill_n(image.cells[x], h + 2, 0.0f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.cells[x + 1][y + 1] = flat[std::size_t(y) * w + x];
  replicateBorder(image.cells, w, h);
  if (stage == EdgeStage::kSmoothed) return drawn(image.cells, w, h, false);

  computeGradients(image.cells, gx.cells, gy.cells, w, h);
  clearBorder(image.cells, w, h);
  // With a cut at 0 every magnitude stays: the gradient magnitude as it is.
  const float cut = stage == EdgeStage::kGradientMagnitude ? 0.0f : s.t1;
  for (int x = 1; x <= w; ++x)
    lines::magnitudesAtLeast(cut, gx.cells[x], gy.cells[x], image.cells[x], h);
  if (stage == EdgeStage::kGradientMagnitude) return drawn(image.cells, w, h, true);

  if (!suppressNonMaxima(image.cells, gx.cells, gy.cells, w, h)) return {};
  return drawn(image.cells, w, h, true);
}
