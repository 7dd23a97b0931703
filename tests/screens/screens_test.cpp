// The screens on their own: the form's outlets and wiring, and the camera
// screen's behaviour with and without a picture.
#include <QLabel>
#include <QSlider>
#include <QtTest>
#include <memory>

#include "app/AppDelegate.h"
#include "screens/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
}  // namespace

class ScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void interfaceFileSuppliesOutletsAndWiring();
  void fifthDoesNothingWithoutAPicture();
  void fifthWorksOnTheGivenPicture();

 private:
  AppDelegate _delegate;
};

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
