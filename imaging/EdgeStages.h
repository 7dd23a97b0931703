#pragma once
// The detector's intermediate pictures, for people learning how it works:
// each computed by the engine's own plain-pipeline stages over padded planes,
// exactly as far as the chosen stage, then drawn as 8-bit gray.
#include <QImage>
#include <cstdint>
#include <vector>

#include "imaging/EdgeSettings.h"

enum class EdgeStage {
  kSmoothed,           // the gray picture after smoothGaussian
  kGradientMagnitude,  // sqrt(gx^2 + gy^2) of the Sobel gradients, before any cut
  kThinnedMagnitude,   // magnitudes of at least T1 that survive non-maximum suppression
  kEdgeMap,            // the finished map; the detector itself computes it
  kHysteresisClasses,  // how hysteresis classed each pixel (see PixelAnalysis)
};

struct StagePicture {
  // Format_Grayscale8 at the picture's size: each value times 255 / white,
  // rounded and kept within 0..255. Null when memory ran out.
  QImage image;
  // The value drawn as white: 255 for the smoothed picture, the largest
  // magnitude for the magnitude stages (0 when there is none).
  float white = 255.0f;
  // The stage's values, row after row, as the engine left them.
  std::vector<float> values;
};

// `stage` of `picture` (drawn gray as the detector receives it) at `settings`.
// The edge map and the classes are not stages here: ask the detector and
// analysePixels().
StagePicture computeStage(const QImage &picture, const EdgeSettings &settings, EdgeStage stage);
