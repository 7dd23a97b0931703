// The five screens on their own: the interface file, the sliders' ranges and
// start values (also after the view is rebuilt), and the camera screen's
// behaviour with and without a picture.
#include <QLabel>
#include <QSlider>
#include <QtTest>
#include <memory>

#include "app/AppDelegate.h"
#include "screens/FifthViewController.h"
#include "screens/FirstPicViewController.h"
#include "screens/FourthViewController.h"
#include "screens/ImageNamed.h"
#include "screens/SecondPicViewController.h"
#include "screens/ThirdPicViewController.h"
#include "tests/screens/EdgeMaps.h"

namespace {
std::unique_ptr<PictureViewController> makeScreen(const QString &name) {
  if (name == "FirstPicViewController")
    return std::make_unique<FirstPicViewController>(name, tryCannyEdgeDetector);
  if (name == "SecondPicViewController")
    return std::make_unique<SecondPicViewController>(name, tryCannyEdgeDetector);
  if (name == "ThirdPicViewController")
    return std::make_unique<ThirdPicViewController>(name, tryCannyEdgeDetector);
  if (name == "FourthViewController")
    return std::make_unique<FourthViewController>(name, tryCannyEdgeDetector);
  return std::make_unique<FifthViewController>(name, tryCannyEdgeDetector);
}

struct Range {
  float minimum, maximum, start;
};

// Float equality to the bit.
bool sliderIs(const FloatSlider *slider, Range expected) {
  return slider && slider->minimumValue() == expected.minimum &&
         slider->maximumValue() == expected.maximum && slider->value() == expected.start;
}

void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
}  // namespace

Q_DECLARE_METATYPE(Range)

class ScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void slidersStartFromTheTable_data();
  void slidersStartFromTheTable();
  void interfaceFileSuppliesOutletsAndWiring();
  void fifthDoesNothingWithoutAPicture();
  void fifthWorksOnTheGivenPicture();

 private:
  AppDelegate _delegate;
};

void ScreensTest::slidersStartFromTheTable_data() {
  QTest::addColumn<QString>("screen");
  QTest::addColumn<Range>("t1");
  QTest::addColumn<Range>("t2");
  QTest::addColumn<Range>("sigma");
  QTest::addColumn<Range>("steps");
  const Range coarseT1{0, 10, 2}, coarseT2{0, 10, 6}, steps{0, 8, 4};
  QTest::newRow("first") << "FirstPicViewController" << Range{0, 1, 0.6f} << Range{0, 2, 0.8f}
                         << Range{0, 60, 0} << steps;
  QTest::newRow("second") << "SecondPicViewController" << coarseT1 << coarseT2 << Range{0, 60, 0}
                          << steps;
  QTest::newRow("third") << "ThirdPicViewController" << coarseT1 << coarseT2 << Range{0, 60, 0}
                         << steps;
  QTest::newRow("fourth") << "FourthViewController" << coarseT1 << coarseT2 << Range{0, 60, 0}
                          << steps;
  QTest::newRow("fifth") << "FifthViewController" << coarseT1 << coarseT2 << Range{0, 60, 2}
                         << steps;
}

void ScreensTest::slidersStartFromTheTable() {
  QFETCH(QString, screen);
  QFETCH(Range, t1);
  QFETCH(Range, t2);
  QFETCH(Range, sigma);
  QFETCH(Range, steps);
  const auto controller = makeScreen(screen);
  // Built when first shown, not before.
  QVERIFY(!controller->isViewLoaded());
  controller->show();
  QVERIFY(controller->isViewLoaded());
  auto startsFromTheTable = [&] {
    return sliderIs(controller->sliderT1(), t1) && sliderIs(controller->sliderT2(), t2) &&
           sliderIs(controller->sliderSigma(), sigma) && sliderIs(controller->sliderSteps(), steps);
  };
  QVERIFY(startsFromTheTable());
  QCOMPARE(controller->findChildren<FloatSlider *>().size(), 4);
}

void ScreensTest::interfaceFileSuppliesOutletsAndWiring() {
  SecondPicViewController screen("SecondPicViewController", tryCannyEdgeDetector);
  screen.show();
  QVERIFY(screen.resetButton() && screen.applyButton() && screen.image());
  QCOMPARE(screen.resetButton()->text(), QStringLiteral("Reset"));
  QCOMPARE(screen.applyButton()->text(), QStringLiteral("Apply"));
  // The file shows the sample picture before any Apply or Reset.
  const QImage sample = imageNamed("secondPic");
  QCOMPARE(screen.image()->image(), sample);
  // Apply and Reset are wired.
  clickOn(screen.applyButton());
  QCOMPARE(screen.image()->image(), engineEdgeMap(sample, 2, 6, 0, 4));
  clickOn(screen.resetButton());
  QCOMPARE(screen.image()->image(), sample);
}

void ScreensTest::fifthDoesNothingWithoutAPicture() {
  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  QVERIFY(screen.image()->image().isNull());
  clickOn(screen.applyButton());
  QVERIFY(screen.image()->image().isNull());
  clickOn(screen.resetButton());
  QVERIFY(screen.image()->image().isNull());

  // Whatever is shown stays.
  QImage shown(8, 8, QImage::Format_RGB32);
  shown.fill(Qt::blue);
  screen.image()->setImage(shown);
  clickOn(screen.applyButton());
  clickOn(screen.resetButton());
  QCOMPARE(screen.image()->image(), shown);
}

void ScreensTest::fifthWorksOnTheGivenPicture() {
  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  const QImage picture = imageNamed("fourthPic").scaled(113, 75);
  screen.setPreImage(picture);
  clickOn(screen.applyButton());
  // Smoothed with Sigma 2 from the start, unlike the sample screens.
  const QImage edges = screen.image()->image();
  QCOMPARE(edges, engineEdgeMap(picture, 2, 6, 2, 4));
  QVERIFY(edges != engineEdgeMap(picture, 2, 6, 0, 4));
  clickOn(screen.resetButton());
  QCOMPARE(screen.image()->image(), picture);
  // Apply starts from the picture again, never from what is shown.
  clickOn(screen.applyButton());
  QCOMPARE(screen.image()->image(), edges);
}

QTEST_MAIN(ScreensTest)
#include "screens_test.moc"
