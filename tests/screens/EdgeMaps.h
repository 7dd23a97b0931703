#pragma once
// What the engine makes of a picture, computed beside the application: the
// same gray drawing, the engine called directly. Screens must show exactly this.
#include <QImage>
#include <cstdint>
#include <vector>

#include "engine/cannyEdgeDetector.h"
#include "imaging/GrayBitmap.h"

inline QImage engineEdgeMap(const QImage &picture, float t1, float t2, float sigma,
                            std::int32_t steps) {
  std::vector<std::uint8_t> bytes(std::size_t(picture.width()) * std::size_t(picture.height()));
  QImage gray = grayBitmapOver(bytes.data(), picture.width(), picture.height());
  drawGray(picture, gray);
  cannyEdgeDetector(t1, t2, sigma, steps, picture.width(), picture.height(), bytes.data());
  return gray.copy();
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
