#include "imaging/GrayBitmap.h"

#include <QPainter>

#include "imaging/GrayConversion.h"

QImage grayBitmapOver(uchar *data, int width, int height) {
  return QImage(data, width, height, width, QImage::Format_Grayscale8);
}

void drawGray(const QImage &picture, QImage &grayBitmap) {
  if (grayBitmap.format() == QImage::Format_Grayscale8 && !picture.isNull() &&
      grayBitmap.size() == picture.size() && grayBitmap.bytesPerLine() == picture.width()) {
    convertToGray(picture, grayBitmap.bits());
    return;
  }
  paintGray(picture, grayBitmap);
}

void paintGray(const QImage &picture, QImage &grayBitmap) {
  grayBitmap.fill(0);
  QPainter painter(&grayBitmap);
  painter.drawImage(QRect(0, 0, picture.width(), picture.height()), picture);
}
