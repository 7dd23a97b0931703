#include "imaging/PixelAnalysis.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include <canny/stages.h>

#include "imaging/GrayBitmap.h"

namespace {

using Floats = std::vector<float>;

// One stage of the plain pipeline; false when it failed.
bool stageOf(const PixelGradients &g, canny::Stage stage, const EdgeSettings &s, Floats &values) {
  values.resize(g.gray.size());
  return canny::computeStage({g.gray.data(), g.width, g.height, g.width}, stage, values.data(),
                             {s.t1, s.t2, s.sigma, s.steps}) == canny::Status::ok;
}

std::shared_ptr<const PixelGradients> gradientsOf(const QImage &picture, const EdgeSettings &s) {
  auto g = std::make_shared<PixelGradients>();
  g->pictureKey = picture.cacheKey();
  g->sigma = s.sigma;
  g->steps = s.steps;
  g->width = picture.width();
  g->height = picture.height();
  g->gray.resize(std::size_t(g->width) * std::size_t(g->height));
  QImage gray = grayBitmapOver(g->gray.data(), g->width, g->height);
  drawGray(picture, gray);

  // No cut at all: every magnitude that survives suppression.
  const EdgeSettings uncut{0.0f, 0.0f, s.sigma, s.steps};
  Floats sector;
  if (!stageOf(*g, canny::Stage::smoothed, uncut, g->smoothed) ||
      !stageOf(*g, canny::Stage::gradientX, uncut, g->gx) ||
      !stageOf(*g, canny::Stage::gradientY, uncut, g->gy) ||
      !stageOf(*g, canny::Stage::magnitude, uncut, g->magnitude) ||
      !stageOf(*g, canny::Stage::sector, uncut, sector) ||
      !stageOf(*g, canny::Stage::thinned, uncut, g->thinned))
    return nullptr;
  g->sector.assign(sector.begin(), sector.end());
  std::erase_if(g->thinned, [](float v) { return !(v > 0.0f); });
  g->thinned.shrink_to_fit();
  std::sort(g->thinned.begin(), g->thinned.end());
  return g;
}

// The classes at the thresholds, from the thinned magnitudes and the edge map.
bool classify(PixelAnalysis &a) {
  const EdgeSettings &s = a.settings;
  Floats thinned, edges;
  if (!stageOf(*a.gradients, canny::Stage::thinned, s, thinned) ||
      !stageOf(*a.gradients, canny::Stage::edges, s, edges))
    return false;
  a.classes.resize(thinned.size());
  for (std::size_t i = 0; i < thinned.size(); ++i) {
    const float v = thinned[i];
    PixelClass c = PixelClass::kNone;
    if (edges[i] == 255.0f)
      c = v >= s.t2 ? PixelClass::kStrong : PixelClass::kWeakKept;
    else if (v > 0.0f && v >= s.t1)
      c = PixelClass::kWeakDropped;
    a.classes[i] = c;
    ++a.counts[int(c)];
  }
  return true;
}

}  // namespace

PixelFacts PixelAnalysis::at(int x, int y) const {
  const PixelGradients &g = *gradients;
  const std::size_t i = std::size_t(y) * std::size_t(g.width) + std::size_t(x);
  return {g.gray[i], g.smoothed[i], g.gx[i], g.gy[i], g.magnitude[i], g.sector[i], classes[i]};
}

std::shared_ptr<const PixelAnalysis> analysePixels(
    const QImage &picture, const EdgeSettings &s,
    const std::shared_ptr<const PixelAnalysis> &previous) {
  const qint64 pixels = qint64(picture.width()) * picture.height();
  if (pixels <= 0 || pixels > kMaxAnalysedPixels) return nullptr;
  const PixelGradients *kept = previous ? previous->gradients.get() : nullptr;
  const bool samePicture = kept && kept->pictureKey == picture.cacheKey() &&
                           kept->sigma == s.sigma && kept->steps == s.steps;
  if (samePicture && previous->settings == s) return previous;
  try {
    auto analysis = std::make_shared<PixelAnalysis>();
    analysis->settings = s;
    if (samePicture)
      analysis->gradients = previous->gradients;
    else
      analysis->gradients = gradientsOf(picture, s);
    if (!analysis->gradients || !classify(*analysis)) return nullptr;
    return analysis;
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}

QRgb classColour(PixelClass pixelClass) {
  switch (pixelClass) {
    case PixelClass::kStrong:
      return qRgb(0xf0, 0xe4, 0x42);  // yellow
    case PixelClass::kWeakKept:
      return qRgb(0x56, 0xb4, 0xe9);  // sky blue
    case PixelClass::kWeakDropped:
      return qRgb(0xd5, 0x5e, 0x00);  // vermilion
    case PixelClass::kNone:
      break;
  }
  return qRgb(0, 0, 0);
}

QImage drawClasses(const PixelAnalysis &a) {
  QImage image(a.width(), a.height(), QImage::Format_RGB32);
  if (image.isNull()) return {};
  for (int y = 0; y < a.height(); ++y) {
    auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
    const PixelClass *classes = a.classes.data() + std::size_t(y) * std::size_t(a.width());
    for (int x = 0; x < a.width(); ++x) row[x] = classColour(classes[x]);
  }
  return image;
}
