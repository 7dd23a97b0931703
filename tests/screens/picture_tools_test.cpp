// A picture screen's tool bar used as a person would: what is shown is what
// Save and Copy give, stages and the overlay come from the engine, and a
// picture of one's own is opened full size (an eighth on the camera screen)
// and reverted.
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include "app/AppDelegate.h"
#include "imaging/EdgeOverlay.h"
#include "screens/FifthViewController.h"
#include "screens/FirstPicViewController.h"
#include "screens/ImageNamed.h"
#include "screens/PictureToolBar.h"
#include "tests/screens/StandInPictureSource.h"
#include "tests/screens/TestScreens.h"

class PictureToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void whatIsShownIsWhatSaveAndCopyGive();
  void ownPictureOpensFullSizeAndReverts();

 private:
  AppDelegate _delegate;
  QTemporaryDir _dir;
};

namespace {
void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

// What the file holds, exactly as written.
QImage savedAs(PictureToolBar *bar, const QString &path) {
  return bar->saveResult(path).isEmpty() ? QImage(path) : QImage();
}

void drop(QWidget *target, const QString &path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
}
}  // namespace

void PictureToolsTest::whatIsShownIsWhatSaveAndCopyGive() {
  FirstPicViewController screen(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
  screen.show();
  QVERIFY(QTest::qWaitForWindowExposed(&screen));
  PictureToolBar *bar = screen.toolBar();
  QVERIFY(!bar->saveResult(_dir.filePath("early.png")).isEmpty());  // nothing to save yet

  const QImage sample = imageNamed("firstPic.png");
  const QImage edges = engineEdgeMap(sample, 0.6f, 0.8f, 0.0f, 4);
  QTest::keyClick(bar->overlayBox(), Qt::Key_Space);
  clickOn(screen.applyButton());
  // Exactly the edge pixels in the overlay colour, the picture elsewhere.
  const QImage shown = screen.image()->image();
  for (int y = 0; y < sample.height(); ++y)
    for (int x = 0; x < sample.width(); ++x)
      QCOMPARE(shown.pixel(x, y),
               edges.pixelColor(x, y).value() ? kEdgeOverlayColour : sample.pixel(x, y));
  QCOMPARE(screen.image()->comparison(), sample);
  QVERIFY(bar->scaleText().isEmpty());                         // an edge map has no scale
  QTest::keyPress(screen.sliderT1()->track(), Qt::Key_Space);  // Space the slider leaves alone
  QVERIFY(screen.image()->isComparing());
  QTest::keyRelease(screen.sliderT1()->track(), Qt::Key_Space);
  // The map itself is saved and copied, not its overlay, in 0 and 255 only.
  QCOMPARE(savedAs(bar, _dir.filePath("map.png")), edges);
  QCOMPARE(savedAs(bar, _dir.filePath("map.pgm")), edges);
  QTest::keyClick(&screen, Qt::Key_1, Qt::ControlModifier);
  QTest::keyClick(&screen, Qt::Key_Plus, Qt::ControlModifier);
  QCOMPARE(screen.image()->zoom(), 2.0);
  QTest::keyClick(&screen, Qt::Key_0, Qt::ControlModifier);
  QVERIFY(screen.image()->isFitted());
  QTest::keyClick(&screen, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_Grayscale8), edges);
  QVERIFY(bar->saveResult(_dir.filePath("map.jpg")).contains("map.jpg"));
  QVERIFY(!QFile::exists(_dir.filePath("map.jpg")));

  // Choosing a stage while a map is shown shows that stage at once.
  bar->setStage(EdgeStage::kThinnedMagnitude);
  const StagePicture thinned =
      computeStage(sample, {0.6f, 0.8f, 0.0f, 4}, EdgeStage::kThinnedMagnitude);
  QCOMPARE(screen.image()->image(), thinned.image);
  QCOMPARE(bar->scaleText(), "white = magnitude " + QString::number(thinned.white, 'g', 4));
  QCOMPARE(savedAs(bar, _dir.filePath("thinned.pgm")), thinned.image);

  clickOn(screen.resetButton());
  QCOMPARE(screen.image()->image(), sample);
  QVERIFY(!bar->copyAction()->isEnabled());
}

void PictureToolsTest::ownPictureOpensFullSizeAndReverts() {
  QImage own = imageNamed("thirdPic").copy(100, 100, 80, 64);
  QVERIFY(own.save(_dir.filePath("own.png")));
  QFile broken(_dir.filePath("broken.png"));
  QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\x89PNG\r\n\x1a\n-") > 0);
  broken.close();

  FirstPicViewController screen(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
  screen.show();
  QVERIFY(QTest::qWaitForWindowExposed(&screen));
  drop(&screen, _dir.filePath("own.png"));
  QCOMPARE(screen.image()->image().size(), QSize(80, 64));
  QCOMPARE(screen.pictureFileName(), _dir.filePath("own.png"));  // for the command line
  clickOn(screen.applyButton());
  QCOMPARE(screen.image()->image(), engineEdgeMap(own, 0.6f, 0.8f, 0.0f, 4));
  QVERIFY(screen.toolBar()->openFile(_dir.filePath("broken.png")).contains("broken.png"));
  QCOMPARE(screen.image()->image(), engineEdgeMap(own, 0.6f, 0.8f, 0.0f, 4));

  screen.toolBar()->revertAction()->trigger();
  QCOMPARE(screen.image()->image(), imageNamed("firstPic.png"));
  QVERIFY(!screen.toolBar()->revertAction()->isEnabled());

  // The camera screen keeps an eighth of whatever it is given, and has no sample.
  FifthViewController camera(QStringLiteral("FifthViewController"), tryCannyEdgeDetector);
  camera.setPictureSource(std::make_unique<StandInPictureSource>());
  camera.show();
  QVERIFY(QTest::qWaitForWindowExposed(&camera));
  QCOMPARE(camera.toolBar()->openFile(_dir.filePath("own.png")), QString());
  QCOMPARE(camera.preImage().size(), QSize(10, 8) * camera.preImage().devicePixelRatio());
  QVERIFY(!camera.toolBar()->revertAction()->isVisible());
}

QTEST_MAIN(PictureToolsTest)
#include "picture_tools_test.moc"
