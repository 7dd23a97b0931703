// The views that show how the detector decides, on a real screen: the classes stage chosen in
// the stage box, the histogram's markers dragged and keyed onto the sliders, the pixel under the
// pointer described from the analysis.
#include <QtTest>
#include <QtWidgets>

#include "app/AppDelegate.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/picture/PixelReadout.h"
#include "screens/picture/SecondPicViewController.h"
#include "screens/widgets/MagnitudeHistogram.h"
#include "tests/screens/TestScreens.h"

namespace {
// The centre of picture pixel (x, y) in the view.
QPoint centreOf(const ImageView *view, int x, int y) {
  const QRectF placed = view->pictureRect();
  const double scale = placed.width() / view->image().width();
  return (placed.topLeft() + QPointF(x + 0.5, y + 0.5) * scale).toPoint();
}
}  // namespace

class DecisionViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    _screen = std::make_unique<SecondPicViewController>(QStringLiteral("SecondPicViewController"),
                                                        tryCannyEdgeDetector);
    _screen->resize(900, 1300);  // the picture enlarged: each pixel under a point of its own
    _screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(_screen.get()));
    _histogram = _screen->findChild<MagnitudeHistogram *>();
    _readout = _screen->findChild<PixelReadout *>();
    QVERIFY(_histogram && _readout);
  }

  void classesStageShowsTheAnalysisWithItsLegend() {
    QComboBox *stages = _screen->toolBar()->stageBox();
    stages->setFocus();
    QTest::keyClick(stages, Qt::Key_Up);  // from the edge map to the classes just above it
    QCOMPARE(_screen->toolBar()->stage(), EdgeStage::kHysteresisClasses);
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    const auto analysis = _screen->model()->analysis();
    QVERIFY(analysis && analysis->settings == _screen->sliderSettings());
    QCOMPARE(shown(*_screen), drawClasses(*analysis));
    // The legend's swatches in the classes' colours, in the order named.
    const QString legend = _screen->toolBar()->scaleText();
    const auto at = [&](PixelClass c) { return legend.indexOf(QColor(classColour(c)).name()); };
    QVERIFY(0 <= at(PixelClass::kStrong) && at(PixelClass::kStrong) < at(PixelClass::kWeakKept) &&
            at(PixelClass::kWeakKept) < at(PixelClass::kWeakDropped));
    QCOMPARE(_histogram->countBetween(0, INFINITY), qsizetype(analysis->gradients->thinned.size()));
    // Its bars in the colours of the classes their magnitudes fall in, none where no magnitude
    // falls, T1 and T2 marked over them.
    const QImage drawn = _histogram->grab().toImage();
    const auto bar = [&](int x) { return drawn.pixel(x, drawn.height() - 2) & 0xffffff; };
    const auto colours = [&](float from, float to, int margin) {
      QSet<QRgb> seen;
      for (int x = qRound(_histogram->xOf(from)) + margin;
           x <= qRound(_histogram->xOf(to)) - margin; ++x)
        seen << bar(x);
      seen.remove(0);  // no bar
      return seen;
    };
    for (int x = 0; x < drawn.width(); ++x)
      if (!_histogram->countBetween(_histogram->magnitudeAt(x - 2), _histogram->magnitudeAt(x + 3)))
        QVERIFY(bar(x) == 0 || bar(x) == 0xffffff);
    QCOMPARE(colours(0, 2, 3), QSet<QRgb>({0x808080}));
    QCOMPARE(colours(2, 6, 3), QSet<QRgb>({classColour(PixelClass::kWeakKept) & 0xffffff}));
    QCOMPARE(colours(6, 10, 3), QSet<QRgb>({classColour(PixelClass::kStrong) & 0xffffff}));
    QVERIFY(colours(2, 2, -2).contains(0xffffff) && colours(6, 6, -2).contains(0xffffff));
  }

  void markersDragAndKeyTheSlidersWithinTheirRanges() {
    FloatSlider *t1 = _screen->sliderT1(), *t2 = _screen->sliderT2();
    QVERIFY(!_histogram->accessibleName().isEmpty());
    const int y = _histogram->height() / 2;
    // A press beside T2's marker takes it along; dragged past the end it stops at T2's maximum.
    QTest::mousePress(_histogram, Qt::LeftButton, {},
                      QPoint(int(_histogram->xOf(t2->value())) + 3, y));
    QTest::mouseMove(_histogram, QPoint(int(_histogram->xOf(3.0f)), y));
    QVERIFY(std::abs(t2->value() - 3.0f) <=
            2 * float(_histogram->magnitudeAt(1) - _histogram->magnitudeAt(0)));
    QTest::mouseMove(_histogram, QPoint(_histogram->width() + 50, y));
    QTest::mouseRelease(_histogram, Qt::LeftButton, {}, QPoint(_histogram->width() + 50, y));
    QCOMPARE(t2->value(), t2->maximumValue());
    QCOMPARE(t1->value(), 2.0f);
    // The keyboard moves the marker chosen last, by Up and Down or by the mouse.
    _histogram->setFocus();
    QTest::keyClick(_histogram, Qt::Key_Up);
    QCOMPARE(_histogram->currentMarker(), t2);
    QTest::mouseClick(_histogram, Qt::LeftButton, {}, QPoint(int(_histogram->xOf(4.5f)), y));
    QVERIFY(_histogram->currentMarker() == t1 && std::abs(t1->value() - 4.5f) < 0.05f);
    const int handle = t1->track()->value();
    QTest::keyClick(_histogram, Qt::Key_Right);
    QCOMPARE(t1->track()->value(), handle + t1->track()->singleStep());
    QTest::keyClick(_histogram, Qt::Key_End);
    QCOMPARE(t1->value(), t1->maximumValue());
    QTest::keyClick(_histogram, Qt::Key_Up);
    QTest::keyClick(_histogram, Qt::Key_Home);
    QCOMPARE(t2->value(), t2->minimumValue());
    // The sliders move the markers.
    t1->setValue(4.0f);
    QCOMPARE(_histogram->magnitudeAt(_histogram->xOf(4.0f)), 4.0f);
    QVERIFY(_histogram->accessibleDescription().startsWith("T1 4.00, T2 0.00"));
  }

  void readoutDescribesThePixelUnderThePointerWithoutMovingAnything() {
    ImageView *view = _screen->image();
    const int sliderY = _screen->sliderT1()->mapTo(_screen.get(), QPoint()).y();
    QVERIFY(view->pictureRect().width() >= 512);  // no pixel smaller than a point
    QTest::mouseMove(view, centreOf(view, 100, 200));
    QCOMPARE(_readout->text(), "x 100, y 200");  // the picture, not analysed yet
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    const PixelFacts p = _screen->model()->analysis()->at(100, 200);
    // Every value exact: it reads back as the very float the analysis holds.
    const QStringList parts = _readout->text().split(" · ");
    const auto value = [&](int i, const char *name) {
      return parts[i].startsWith(name) ? parts[i].section(' ', 1, 1).toFloat() : NAN;
    };
    const char *classes[] = {p.magnitude < 2   ? "no candidate: below T1"
                             : p.magnitude > 0 ? "no candidate: thinned away"
                                               : "no candidate: no gradient",
                             "weak, dropped", "weak, kept", "seed (≥ T2)"};
    QVERIFY(parts.size() == 8 && parts[0] == "x 100, y 200" && value(1, "gray ") == p.gray);
    QVERIFY(value(2, "smoothed ") == p.smoothed && value(3, "gx ") == p.gx &&
            value(4, "gy ") == p.gy && value(5, "magnitude ") == p.magnitude);
    QVERIFY(value(6, "sector ") == p.sector && parts[7] == classes[int(p.pixelClass)]);
    QTest::mouseMove(view, centreOf(view, 511, 0));
    QVERIFY2(_readout->text().startsWith("x 511, y 0 · gray"), qPrintable(_readout->text()));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
    QVERIFY(_readout->text().isEmpty());
    QCOMPARE(_screen->sliderT1()->mapTo(_screen.get(), QPoint()).y(), sliderY);
    // Narrow, the line wraps into the height it keeps.
    _screen->resize(420, 900);
    QVERIFY(QTest::qWaitFor(
        [&] { return _readout->height() >= 2 * _readout->fontMetrics().lineSpacing(); }));
  }

  void cleanup() { _screen.reset(); }

 private:
  AppDelegate _delegate;
  std::unique_ptr<SecondPicViewController> _screen;
  MagnitudeHistogram *_histogram = nullptr;
  PixelReadout *_readout = nullptr;
};

QTEST_MAIN(DecisionViewsTest)
#include "decision_views_test.moc"
