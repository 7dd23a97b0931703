#include "imaging/EdgeOverlay.h"

#include <QPainter>

QImage overlayEdges(const QImage &picture, const QImage &edgeMap, QRgb colour) {
  if (picture.size() != edgeMap.size() || edgeMap.format() != QImage::Format_Grayscale8) return {};
  // On black, as the detector sees transparent parts.
  QImage overlay(picture.size(), QImage::Format_RGB32);
  overlay.fill(Qt::black);
  QPainter(&overlay).drawImage(QRect(QPoint(0, 0), picture.size()), picture);
  for (int y = 0; y < overlay.height(); ++y) {
    const uchar *edges = edgeMap.constScanLine(y);
    auto *row = reinterpret_cast<QRgb *>(overlay.scanLine(y));
    for (int x = 0; x < overlay.width(); ++x)
      if (edges[x]) row[x] = colour;
  }
  return overlay;
}
