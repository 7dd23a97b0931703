#pragma once
// Every pixel's way through the detector, for the views that show how it
// decides: the gray value it starts from, its smoothed value, gradients,
// magnitude, the direction sector suppression looks along, and how hysteresis
// classes its thinned magnitude. All of it comes from the engine's plain
// pipeline (canny::computeStage), the same stages the screens show, so the
// classes add up to the detector's edge map exactly.
#include <QImage>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/EdgeSettings.h"

// How hysteresis treats a pixel.
enum class PixelClass : std::uint8_t {
  kNone,         // no candidate: suppressed, or below T1
  kWeakDropped,  // at least T1 but below T2, joined to no seed
  kWeakKept,     // at least T1 but below T2, joined to a seed: an edge pixel
  kStrong,       // a seed: at least T2, an edge pixel
};

// What the picture and the smoothing alone decide, kept while only the
// thresholds change. Planes hold width * height values, row after row.
struct PixelGradients {
  qint64 pictureKey = 0;
  float sigma = 0;
  std::int32_t steps = 0;
  int width = 0, height = 0;
  std::vector<std::uint8_t> gray;
  std::vector<float> smoothed, gx, gy, magnitude;
  std::vector<std::uint8_t> sector;  // 1 left-right, 2 falling diagonal, 3 up-down, 4 rising
  // The magnitudes that survive suppression when no threshold cuts them, the
  // zeros left out, ascending: what the thresholds choose from.
  std::vector<float> thinned;
};

// What one pixel went through.
struct PixelFacts {
  std::uint8_t gray;
  float smoothed, gx, gy, magnitude;
  int sector;
  PixelClass pixelClass;
};

struct PixelAnalysis {
  EdgeSettings settings{};
  std::shared_ptr<const PixelGradients> gradients;
  std::vector<PixelClass> classes;
  // How many pixels each class holds, by PixelClass.
  qint64 counts[4] = {};

  int width() const { return gradients->width; }
  int height() const { return gradients->height; }
  // Pixel (x, y), which must lie inside the picture.
  PixelFacts at(int x, int y) const;
};

// Pictures larger than this are not analysed: their planes would take more
// than about 300 MB.
inline constexpr qint64 kMaxAnalysedPixels = 16'000'000;

// `picture` (drawn gray as the detector receives it) at `settings`: `previous`
// itself where it is that, or with its gradients where picture and smoothing
// are the same. Null for an empty picture, one above kMaxAnalysedPixels, or
// when memory ran out.
std::shared_ptr<const PixelAnalysis> analysePixels(
    const QImage &picture, const EdgeSettings &settings,
    const std::shared_ptr<const PixelAnalysis> &previous = nullptr);

// The colours of the strong, weak-kept and weak-dropped pixels: apart in hue
// and lightness for every kind of colour vision (from Okabe and Ito's set).
QRgb classColour(PixelClass pixelClass);

// The classes in their colours over black, at the picture's size.
QImage drawClasses(const PixelAnalysis &analysis);
