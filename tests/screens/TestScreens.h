#pragma once
// What the screens' tests share: one way to build a screen by its name, and
// what the engine makes of a picture, through imaging's edge map with the
// engine's own entry rather than a screen's sliders and detector.
#include <QImage>
#include <cstdint>
#include <memory>

#include "imaging/EdgeMap.h"
#include "screens/FifthViewController.h"
#include "screens/FirstPicViewController.h"
#include "screens/FourthViewController.h"
#include "screens/SecondPicViewController.h"
#include "screens/ThirdPicViewController.h"

// The screen of that class name, running the engine's detector; its view is
// built when `loaded`.
inline std::unique_ptr<PictureViewController> makeScreen(const QString &name, bool loaded = true) {
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
  if (loaded) screen->loadViewIfNeeded();
  return screen;
}

inline QImage engineEdgeMap(const QImage &picture, float t1, float t2, float sigma,
                            std::int32_t steps) {
  return edgeMap(picture, EdgeSettings{t1, t2, sigma, steps});
}

// True when every pixel is 0 or 255 and both occur.
inline bool isBlackAndWhiteEdgeMap(const QImage &image) {
  if (image.format() != QImage::Format_Grayscale8) return false;
  bool black = false, white = false;
  for (int y = 0; y < image.height(); ++y) {
    const uchar *row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] == 0)
        black = true;
      else if (row[x] == 255)
        white = true;
      else
        return false;
    }
  }
  return black && white;
}
