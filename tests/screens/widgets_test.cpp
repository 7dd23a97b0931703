// The two widgets Qt lacks: the float slider and the aspect-keeping image view.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

#include "screens/FloatSlider.h"
#include "screens/ImageView.h"

class WidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  void sliderKeepsTheFloatItWasGiven();
  void sliderKeepsItsValueInsideTheRange();
  void keyMovesMapOntoTheRange();
  void sliderShowsItsValue();
  void wholeNumberSliderStepsWholeNumbers();
  void handleSpeaksTheValueInItsUnits();
  void imageViewFitsWithAspectKept_data();
  void imageViewFitsWithAspectKept();
  void imageViewShowsNothingForNullImage();
};

namespace {
// Float equality to the bit; QCOMPARE would allow a fuzzy match.
bool same(float a, float b) { return a == b; }
}  // namespace

void WidgetsTest::sliderKeepsTheFloatItWasGiven() {
  FloatSlider slider;
  slider.setMinimumValue(0.0f);
  slider.setMaximumValue(1.0f);
  slider.setValue(0.6f);
  QVERIFY(same(slider.value(), 0.6f));
  // The handle is only placed near the value; the value is not re-read from it.
  QCOMPARE(slider.track()->value(), 600);
  slider.setMaximumValue(2.0f);
  slider.setValue(0.8f);
  QVERIFY(same(slider.value(), 0.8f));
  slider.setMinimumValue(0.1f);
  QVERIFY(same(slider.minimumValue(), 0.1f));
  QVERIFY(same(slider.value(), 0.8f));
}

void WidgetsTest::sliderKeepsItsValueInsideTheRange() {
  FloatSlider slider;
  slider.setMaximumValue(10.0f);
  slider.setValue(12.0f);
  QVERIFY(same(slider.value(), 10.0f));
  slider.setValue(-1.0f);
  QVERIFY(same(slider.value(), 0.0f));

  slider.setValue(6.0f);
  slider.setMaximumValue(2.0f);
  QVERIFY(same(slider.value(), 2.0f));
  // A minimum above the maximum carries the maximum along.
  slider.setMinimumValue(5.0f);
  QVERIFY(same(slider.maximumValue(), 5.0f));
  QVERIFY(same(slider.value(), 5.0f));

  const float nan = std::numeric_limits<float>::quiet_NaN();
  slider.setValue(nan);
  slider.setMinimumValue(nan);
  slider.setMaximumValue(nan);
  QVERIFY(same(slider.value(), 5.0f));
  QVERIFY(same(slider.minimumValue(), 5.0f));
}

void WidgetsTest::keyMovesMapOntoTheRange() {
  FloatSlider slider;
  slider.setMinimumValue(0.0f);
  slider.setMaximumValue(60.0f);
  slider.setValue(0.0f);
  QSignalSpy changes(&slider, &FloatSlider::valueChanged);

  QTest::keyClick(slider.track(), Qt::Key_End);
  QVERIFY(same(slider.value(), 60.0f));
  QTest::keyClick(slider.track(), Qt::Key_Home);
  QVERIFY(same(slider.value(), 0.0f));
  // One step is a hundredth of the range, one page a tenth.
  QTest::keyClick(slider.track(), Qt::Key_Right);
  QVERIFY(same(slider.value(), 0.6f));
  QTest::keyClick(slider.track(), Qt::Key_PageUp);
  QVERIFY(same(slider.value(), 6.6f));
  QCOMPARE(changes.count(), 4);
  QVERIFY(same(changes.last().first().toFloat(), 6.6f));

  // Moves land inside a range that does not start at zero.
  slider.setMinimumValue(2.0f);
  slider.setMaximumValue(3.0f);
  QTest::keyClick(slider.track(), Qt::Key_Home);
  QTest::keyClick(slider.track(), Qt::Key_Right);
  QVERIFY(same(slider.value(), 2.01f));
}

void WidgetsTest::sliderShowsItsValue() {
  FloatSlider slider;
  // Every digit a handle position can set, and no more.
  slider.setMaximumValue(1.0f);
  slider.setValue(0.637f);
  QCOMPARE(slider.valueText(), QStringLiteral("0.637"));
  slider.setMaximumValue(60.0f);
  QTest::keyClick(slider.track(), Qt::Key_Right);
  QCOMPARE(slider.valueText(), QStringLiteral("1.26"));
  slider.setMaximumValue(2.0f);
  QTest::keyClick(slider.track(), Qt::Key_Right);
  QCOMPARE(slider.valueText(), QStringLiteral("1.280"));
  slider.setMaximumValue(8.0f);
  // A count shows the whole number it will be used as.
  slider.setShowsWholeNumber(true);
  slider.setValue(3.99f);
  QCOMPARE(slider.valueText(), QStringLiteral("3"));
  QTest::keyClick(slider.track(), Qt::Key_End);
  QCOMPARE(slider.valueText(), QStringLiteral("8"));
  const auto labels = slider.findChildren<QLabel *>();
  QCOMPARE(labels.size(), 1);
  QCOMPARE(labels.first()->text(), QStringLiteral("8"));
}

void WidgetsTest::wholeNumberSliderStepsWholeNumbers() {
  FloatSlider slider;
  slider.setMaximumValue(8.0f);
  slider.setShowsWholeNumber(true);
  slider.setValue(4.0f);
  QTest::keyClick(slider.track(), Qt::Key_Left);
  QVERIFY(same(slider.value(), 3.0f));
  QTest::keyClick(slider.track(), Qt::Key_PageUp);
  QVERIFY(same(slider.value(), 4.0f));
  for (int i = 0; i < 3; ++i) QTest::keyClick(slider.track(), Qt::Key_Right);
  QVERIFY(same(slider.value(), 7.0f));
  QCOMPARE(slider.valueText(), QStringLiteral("7"));
  // A range with ends between whole numbers keeps the fine steps.
  slider.setMaximumValue(7.5f);
  QTest::keyClick(slider.track(), Qt::Key_Home);
  QTest::keyClick(slider.track(), Qt::Key_Right);
  QVERIFY(same(slider.value(), 0.075f));
}

void WidgetsTest::handleSpeaksTheValueInItsUnits() {
  QWidget form;
  auto *label = new QLabel(QStringLiteral("&Sigma"), &form);
  auto *slider = new FloatSlider(&form);
  label->setBuddy(slider);
  slider->setToolTip(QStringLiteral("Smoothing width"));
  slider->setMaximumValue(60.0f);
  slider->setValue(2.5f);
  slider->setUnitName(QStringLiteral("pixels"));

  QAccessibleInterface *handle = QAccessible::queryAccessibleInterface(slider->track());
  QVERIFY(handle);
  QCOMPARE(handle->role(), QAccessible::Slider);
  QCOMPARE(handle->text(QAccessible::Name), QStringLiteral("Sigma"));
  QCOMPARE(handle->text(QAccessible::Description), QStringLiteral("Smoothing width"));
  QCOMPARE(handle->text(QAccessible::Value), QStringLiteral("2.50 pixels"));
  QAccessibleValueInterface *value = handle->valueInterface();
  QVERIFY(value);
  QCOMPARE(value->currentValue().toDouble(), 2.5);
  QCOMPARE(value->maximumValue().toDouble(), 60.0);
  QCOMPARE(value->minimumStepSize().toDouble(), 0.06);
  value->setCurrentValue(6.0);
  QVERIFY(same(slider->value(), 6.0f));
  QCOMPARE(slider->track()->value(), 100);
}

void WidgetsTest::imageViewFitsWithAspectKept_data() {
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<QSize>("view");
  QTest::addColumn<QRect>("shown");
  QTest::newRow("square in wide") << QSize(512, 512) << QSize(300, 200) << QRect(50, 0, 200, 200);
  QTest::newRow("square in tall") << QSize(512, 512) << QSize(200, 300) << QRect(0, 50, 200, 200);
  QTest::newRow("square enlarged") << QSize(50, 50) << QSize(400, 400) << QRect(0, 0, 400, 400);
  QTest::newRow("wide in square") << QSize(600, 400) << QSize(300, 300) << QRect(0, 50, 300, 200);
}

void WidgetsTest::imageViewFitsWithAspectKept() {
  QFETCH(QSize, picture);
  QFETCH(QSize, view);
  QFETCH(QRect, shown);
  QImage red(picture, QImage::Format_RGB32);
  red.fill(Qt::red);
  ImageView imageView;
  imageView.setMinimumSize(1, 1);
  imageView.resize(view);
  imageView.setImage(red);

  // The red pixels of a rendering make the picture's place.
  const QImage rendered = imageView.grab().toImage().convertToFormat(QImage::Format_RGB32);
  QRect found;
  for (int y = 0; y < rendered.height(); ++y)
    for (int x = 0; x < rendered.width(); ++x)
      if (rendered.pixel(x, y) == qRgb(255, 0, 0)) found |= QRect(x, y, 1, 1);
  QCOMPARE(found, shown);
}

void WidgetsTest::imageViewShowsNothingForNullImage() {
  ImageView imageView;
  imageView.resize(100, 100);
  const QImage empty = imageView.grab().toImage();
  QImage red(20, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  imageView.setImage(red);
  QVERIFY(imageView.grab().toImage() != empty);
  imageView.setImage(QImage());
  QCOMPARE(imageView.grab().toImage(), empty);
}

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
