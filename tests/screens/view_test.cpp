// The picture view as a person uses it: zoom by keys and wheel, pan by
// dragging, the original shown while Space or the mouse is held.
#include <QtTest>

#include "screens/ImageView.h"

class ViewTest : public QObject {
  Q_OBJECT

 private slots:
  void magnifiedEdgesStaySharp();
  void wheelZoomsAboutThePointerAndDragPans();
  void holdingSpaceOrMouseShowsTheOriginal();
};

namespace {
// A gray map with one-pixel lines: column 3 and row 5 white.
QImage thinLines() {
  QImage map(16, 12, QImage::Format_Grayscale8);
  map.fill(0);
  for (int y = 0; y < map.height(); ++y) map.scanLine(y)[3] = 255;
  std::fill_n(map.scanLine(5), map.width(), uchar(255));
  return map;
}

void turnWheel(ImageView &view, QPointF at, int angle) {
  QWheelEvent wheel(at, view.mapToGlobal(at), {}, {0, angle}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &wheel);
}

QImage shown(ImageView &view) {
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
}  // namespace

void ViewTest::magnifiedEdgesStaySharp() {
  ImageView view;
  view.resize(200, 150);
  view.setImage(thinLines());
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  // Fitted by default with the aspect kept: 16 x 12 into 200 x 150 is 12.5 times.
  QCOMPARE(view.pictureRect(), QRectF(0, 0, 200, 150));

  for (const int key : {Qt::Key_1, Qt::Key_Plus, Qt::Key_Plus}) QTest::keyClick(&view, key);
  QCOMPARE(view.zoom(), 4.0);
  const QImage at4 = shown(view);
  const QPoint origin = view.pictureRect().topLeft().toPoint();
  // Each picture pixel is a 4 x 4 square of its own value, nothing in between.
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool line = x / 4 == 3 || y / 4 == 5;
      QCOMPARE(at4.pixel(origin + QPoint(x, y)), line ? 0xffffffffu : 0xff000000u);
    }

  // Fitted again at 12.5 times: still only black and white.
  QTest::keyClick(&view, Qt::Key_F);
  QVERIFY(view.isFitted());
  const QImage fitted = shown(view);
  for (int y = 0; y < fitted.height(); ++y)
    for (int x = 0; x < fitted.width(); ++x)
      QVERIFY(fitted.pixel(x, y) == 0xffffffffu || fitted.pixel(x, y) == 0xff000000u);
  QTest::keyClick(&view, Qt::Key_Minus);
  QCOMPARE(view.zoom(), 8.0);
}

void ViewTest::wheelZoomsAboutThePointerAndDragPans() {
  ImageView view;
  view.resize(100, 100);
  QImage picture(100, 100, QImage::Format_Grayscale8);
  picture.fill(0);
  view.setImage(picture);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));

  // Two notches up at (30, 40): twice 2x, the picture point there stays put.
  turnWheel(view, {30, 40}, 240);
  QCOMPARE(view.zoom(), 4.0);
  QCOMPARE(view.pictureRect(), QRectF(-90, -120, 400, 400));

  // Dragging 20 right and 10 up moves the picture with the pointer...
  QTest::mousePress(&view, Qt::LeftButton, {}, {50, 50});
  QTest::mouseMove(&view, {70, 40});
  QTest::mouseRelease(&view, Qt::LeftButton, {}, {70, 40});
  QCOMPARE(view.pictureRect(), QRectF(-70, -130, 400, 400));
  // ...but never past its edges.
  QTest::mousePress(&view, Qt::LeftButton, {}, {10, 10});
  QTest::mouseMove(&view, {90, 90});
  QTest::mouseRelease(&view, Qt::LeftButton, {}, {90, 90});
  QCOMPARE(view.pictureRect(), QRectF(0, -50, 400, 400));
  // Half notches, as touchpads send them, add up to one.
  turnWheel(view, {50, 50}, -60);
  QCOMPARE(view.zoom(), 4.0);
  turnWheel(view, {50, 50}, -60);
  QCOMPARE(view.zoom(), 2.0);
  // A picture of another size starts fitted; the same size keeps the view.
  view.setImage(picture.copy());
  QCOMPARE(view.zoom(), 2.0);
  view.setImage(picture.copy(0, 0, 50, 100));
  QVERIFY(view.isFitted());
}

void ViewTest::holdingSpaceOrMouseShowsTheOriginal() {
  ImageView view;
  view.resize(80, 80);
  QImage original(8, 8, QImage::Format_RGB32);
  original.fill(qRgb(0, 0, 255));
  view.setImage(thinLines().copy(0, 0, 8, 8));
  view.setComparison(original);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  const QPoint inside(75, 75);  // away from the caption and the lines
  QCOMPARE(shown(view).pixel(inside), 0xff000000u);

  QTest::keyPress(&view, Qt::Key_Space);
  QCOMPARE(shown(view).pixel(inside), qRgb(0, 0, 255));
  QTest::keyRelease(&view, Qt::Key_Space);
  QCOMPARE(shown(view).pixel(inside), 0xff000000u);

  QTest::mousePress(&view, Qt::LeftButton, {}, inside);
  QCOMPARE(shown(view).pixel(inside), qRgb(0, 0, 255));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, inside);
  // With nothing to compare with, holding shows the picture itself.
  view.setComparison({});
  QTest::keyPress(&view, Qt::Key_Space);
  QVERIFY(!view.isComparing());
}

QTEST_MAIN(ViewTest)
#include "view_test.moc"
