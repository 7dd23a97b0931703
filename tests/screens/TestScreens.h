#pragma once
// What the screens' tests share: a screen built by its name, what it shows,
// and what the engine makes of a picture, without a screen's sliders.
#include <QImage>
#include <cstdint>
#include <memory>

#include "imaging/EdgeMap.h"
#include "screens/FifthViewController.h"
#include "screens/FirstPicViewController.h"
#include "screens/FourthViewController.h"
#include "screens/SecondPicViewController.h"
#include "screens/ThirdPicViewController.h"

// The screen of that class name, running the engine's detector, view built.
inline std::unique_ptr<PictureViewController> makeScreen(const QString &name) {
  std::unique_ptr<PictureViewController> screen;
  if (name == "FirstPicViewController")
    screen = std::make_unique<FirstPicViewController>(name, tryCannyEdgeDetector);
  else if (name == "SecondPicViewController")
    screen = std::make_unique<SecondPicViewController>(name, tryCannyEdgeDetector);
  else if (name == "ThirdPicViewController")
    screen = std::make_unique<ThirdPicViewController>(name, tryCannyEdgeDetector);
  else if (name == "FourthViewController")
    screen = std::make_unique<FourthViewController>(name, tryCannyEdgeDetector);
  else
    screen = std::make_unique<FifthViewController>(name, tryCannyEdgeDetector);
  screen->loadViewIfNeeded();
  return screen;
}

inline QImage shown(const PictureViewController &screen) { return screen.image()->image(); }

inline QImage engineEdgeMap(const QImage &picture, float t1, float t2, float sigma,
                            std::int32_t steps) {
  return edgeMap(picture, EdgeSettings{t1, t2, sigma, steps});
}

// True when every pixel is 0 or 255 and both occur.
inline bool isBlackAndWhiteEdgeMap(const QImage &image) {
  if (image.format() != QImage::Format_Grayscale8) return false;
  int seen = 0;  // bit 0 for black, bit 1 for white, bit 2 for anything else
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const uchar v = image.constScanLine(y)[x];
      seen |= v == 0 ? 1 : v == 255 ? 2 : 4;
    }
  return seen == 3;
}
