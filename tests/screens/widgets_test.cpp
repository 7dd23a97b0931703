// The two widgets Qt lacks: the float slider and the picture view, used as a person would: keys,
// zoom by keys and wheel, pan by dragging, the original shown while the mouse is held.
#include <QtTest>
#include <QtWidgets>

#include "screens/widgets/FloatSlider.h"
#include "tests/screens/TestScreens.h"

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

// The value after the keys.
float press(FloatSlider *slider, std::initializer_list<Qt::Key> keys) {
  for (const Qt::Key key : keys) QTest::keyClick(slider->track(), key);
  return slider->value();
}

QImage shown(ImageView &view) {
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
}  // namespace

class WidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  // Floats are compared with ==, to the bit: QCOMPARE would allow a fuzzy match.
  void sliderKeepsTheFloatItWasGivenInsideTheRange() {
    FloatSlider slider;
    slider.setMaximumValue(1.0f);
    auto set = [&](float v) { return slider.setValue(v), slider.value(); };
    QVERIFY(set(0.6f) == 0.6f);  // not re-read from the handle
    QCOMPARE(slider.track()->value(), 600);
    QVERIFY(set(12.0f) == 1.0f && set(-1.0f) == 0.0f);
    // A minimum above the maximum carries the maximum along; NaN changes nothing.
    slider.setMinimumValue(5.0f);
    QVERIFY(slider.maximumValue() == 5.0f && slider.value() == 5.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    slider.setValue(nan);
    slider.setMinimumValue(nan);
    slider.setMaximumValue(nan);
    QVERIFY(slider.value() == 5.0f && slider.minimumValue() == 5.0f);
  }

  void keysMoveOntoTheRangeAndTheReadoutHasEveryDigit() {
    QWidget form;
    auto *label = new QLabel(QStringLiteral("&Sigma"), &form);
    auto *slider = new FloatSlider(&form);
    label->setBuddy(slider);
    slider->setMaximumValue(60.0f);
    slider->setUnitName(QStringLiteral("pixels"));
    QVERIFY(press(slider, {Qt::Key_End}) == 60.0f);
    // One step is a hundredth of the range, one page a tenth.
    QVERIFY(press(slider, {Qt::Key_Home, Qt::Key_Right, Qt::Key_PageUp}) == 6.6f);
    press(slider, {Qt::Key_Left});
    QCOMPARE(slider->valueText(), QStringLiteral("6.00"));
    QAccessibleInterface *handle = QAccessible::queryAccessibleInterface(slider->track());
    QCOMPARE(handle->text(QAccessible::Name), QStringLiteral("Sigma"));
    QCOMPARE(handle->text(QAccessible::Value), QStringLiteral("6.00 pixels"));
    handle->valueInterface()->setCurrentValue(1.26);
    QCOMPARE(slider->valueText(), QStringLiteral("1.26"));
    // Told as the decimals shown, not as the float's binary expansion.
    slider->setMaximumValue(0.7f);
    slider->setValue(0.6f);
    QVERIFY(handle->valueInterface()->currentValue().toDouble() == 0.6);
    QVERIFY(handle->valueInterface()->maximumValue().toDouble() == 0.7);

    // Every digit a handle position can set, and no more, inside any range.
    slider->setMinimumValue(0.0f);
    slider->setMaximumValue(2.0f);
    slider->setValue(1.26f);
    press(slider, {Qt::Key_Right});
    QCOMPARE(slider->valueText(), QStringLiteral("1.280"));
    slider->setMinimumValue(2.0f);
    slider->setMaximumValue(3.0f);
    QVERIFY(press(slider, {Qt::Key_Home, Qt::Key_Right}) == 2.01f);
    QCOMPARE(slider->valueText(), QStringLiteral("2.010"));
    slider->setMinimumValue(0.0f);
    slider->setMaximumValue(0.001f);
    QCOMPARE(slider->valueText(), QStringLiteral("0.001000"));

    // A count steps and shows the whole number it will be used as.
    slider->setMinimumValue(0.0f);
    slider->setMaximumValue(8.0f);
    slider->setShowsWholeNumber(true);
    slider->setValue(3.99f);
    QCOMPARE(slider->valueText(), QStringLiteral("3"));
    slider->setValue(4.0f);
    QVERIFY(press(slider, {Qt::Key_Left}) == 3.0f);
    QCOMPARE(form.findChildren<QLabel *>().last()->text(), QStringLiteral("3"));
    // A range with ends between whole numbers keeps the fine steps.
    slider->setMaximumValue(7.5f);
    QVERIFY(press(slider, {Qt::Key_Home, Qt::Key_Right}) == 0.075f);
  }

  void magnifiedEdgesStaySharp() {
    ImageView view;
    view.resize(200, 150);
    view.setImage(thinLines());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Fitted by default: 16 x 12 into 200 x 150 is 12.5 times.
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

    // Held by the mouse or by Space, the original; released and fitted again at 12.5 times:
    // still only black and white.
    QImage white(16, 12, QImage::Format_RGB32);
    white.fill(Qt::white);
    view.setComparison(white);
    QTest::mousePress(&view, Qt::LeftButton, {}, origin + QPoint(40, 40));
    QCOMPARE(shown(view).pixel(origin + QPoint(40, 40)), 0xffffffffu);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, origin + QPoint(40, 40));
    QTest::keyPress(&view, Qt::Key_Space);
    QCOMPARE(shown(view).pixel(origin), 0xffffffffu);
    QTest::keyRelease(&view, Qt::Key_Space);
    QTest::keyClick(&view, Qt::Key_F);
    QVERIFY(view.isFitted());
    QVERIFY(isBlackAndWhiteEdgeMap(shown(view).convertToFormat(QImage::Format_Grayscale8)));
  }

  void wheelZoomsAboutThePointerAndDragPans() {
    ImageView view;
    view.resize(100, 100);
    const QImage picture = thinLines().scaled(100, 100);
    view.setImage(picture);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Two notches up at (30, 40): twice 2x, the picture point there stays put.
    turnWheel(view, {30, 40}, 240);
    QCOMPARE(view.zoom(), 4.0);
    QCOMPARE(view.pictureRect(), QRectF(-90, -120, 400, 400));

    // Dragging moves the picture with the pointer, but never past its edges.
    QTest::mousePress(&view, Qt::LeftButton, {}, {5, 10});
    QTest::mouseMove(&view, {99, 90});
    QTest::mouseRelease(&view, Qt::LeftButton, {}, {99, 90});
    QCOMPARE(view.pictureRect(), QRectF(0, -40, 400, 400));
    // A picture of the same size keeps the view; another size starts fitted.
    view.setImage(picture.copy());
    QCOMPARE(view.zoom(), 4.0);
    view.setImage(picture.copy(0, 0, 50, 100));
    QCOMPARE(view.pictureRect(), QRectF(25, 0, 50, 100));  // fitted, the aspect kept
    QTest::keyClick(&view, Qt::Key_Minus);                 // smaller than the view: in its middle
    QCOMPARE(view.pictureRect(), QRectF(37.5, 25, 25, 50));
  }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
