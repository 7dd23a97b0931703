#include "imaging/EdgeStages.h"

#include <cstddef>
#include <utility>

#include <canny/stages.h>

#include "imaging/GrayBitmap.h"
#include "imaging/StageGray.h"

namespace {

// The stage's values and their gray picture.
StagePicture drawn(std::vector<float> values, int w, int h, bool scaleToLargest) {
  StagePicture stage;
  stage.values = std::move(values);
  if (scaleToLargest) stage.white = largestValue(stage.values.data(), stage.values.size());
  stage.image = QImage(w, h, QImage::Format_Grayscale8);
  for (int y = 0; y < h; ++y)
    drawStageGray(stage.values.data() + std::size_t(y) * w, std::size_t(w), stage.white,
                  stage.image.scanLine(y));
  return stage;
}

}  // namespace

StagePicture computeStage(const QImage &picture, const EdgeSettings &s, EdgeStage stage) {
  const int w = picture.width(), h = picture.height();
  if (w <= 0 || h <= 0 || stage >= EdgeStage::kEdgeMap) return {};
  std::vector<uchar> bytes(std::size_t(w) * std::size_t(h));
  QImage gray = grayBitmapOver(bytes.data(), w, h);
  drawGray(picture, gray);

  // The engine's plain pipeline, run as far as the stage.
  static constexpr canny::Stage kStages[] = {canny::Stage::smoothed, canny::Stage::magnitude,
                                             canny::Stage::thinned};
  std::vector<float> values(bytes.size());
  const canny::Settings settings{s.t1, s.t2, s.sigma, s.steps};
  if (canny::computeStage({bytes.data(), w, h, w}, kStages[int(stage)], values.data(), settings) !=
      canny::Status::ok)
    return {};
  return drawn(std::move(values), w, h, stage != EdgeStage::kSmoothed);
}
