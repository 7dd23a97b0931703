#pragma once
// What the screens' tests share: what a screen shows, a click, and whether it is an edge map.
#include <QImage>
#include <QtTest>

#include "imaging/EdgeMap.h"
#include "screens/picture/PictureViewController.h"
#include "screens/widgets/ImageView.h"

inline QImage shown(const PictureViewController &screen) { return screen.image()->image(); }

inline void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

// Waits until the screen's work is done, so that it shows the newest answer.
inline bool settled(const PictureViewController &screen) {
  QDeadlineTimer deadline(60000);
  while (screen.model()->isBusy())
    if (deadline.hasExpired() || !QTest::qWaitFor([&] { return !screen.model()->isBusy(); }))
      return false;
  return true;
}

inline bool writeFile(const QString &path, const QByteArray &content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// True when every pixel is 0 or 255 and both occur.
inline bool isBlackAndWhiteEdgeMap(const QImage &image) {
  if (image.format() != QImage::Format_Grayscale8) return false;
  int seen = 0;  // bit 0 for black, bit 1 for white, bit 2 for anything else
  for (int y = 0; y < image.height(); ++y)
    for (const uchar *v = image.constScanLine(y); v < image.constScanLine(y) + image.width(); ++v)
      seen |= *v == 0 ? 1 : *v == 255 ? 2 : 4;
  return seen == 3;
}
