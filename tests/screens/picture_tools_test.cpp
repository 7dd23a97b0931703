// A picture screen's tool bar: the stages are the reference detector's own steps; what is shown
// is what Save and Copy give; a picture of one's own opened and reverted.
#include <QtTest>
#include <QtWidgets>
#include <cmath>

#include "app/AppDelegate.h"
#include "imaging/EdgeOverlay.h"
#include "imaging/EdgePng.h"
#include "imaging/EdgeStages.h"
#include "imaging/GrayBitmap.h"
#include "screens/picture/FirstPicViewController.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/widgets/ImageNamed.h"
#include "screens/widgets/SplitDivider.h"
#include "screens/widgets/UserSettings.h"
#include "tests/engine/reference/ReferenceDetector.h"
#include "tests/screens/TestScreens.h"

namespace {
std::vector<uchar> grayBytes(const QImage &picture) {
  std::vector<uchar> bytes(std::size_t(picture.width()) * picture.height());
  QImage gray = grayBitmapOver(bytes.data(), picture.width(), picture.height());
  drawGray(picture, gray);
  return bytes;
}

// The stage's values equal `expected` to the bit, its picture each value times 255 / white.
bool showsExactly(const StagePicture &stage, const std::vector<float> &expected, float white) {
  if (stage.values != expected || stage.white != white || stage.image.width() == 0) return false;
  for (int y = 0; y < stage.image.height(); ++y)
    for (int x = 0; x < stage.image.width(); ++x) {
      const float v = expected[std::size_t(y) * stage.image.width() + x];
      if (stage.image.pixel(x, y) != qRgb(0, 0, 0) + 0x10101 * std::lround(v * 255.0 / white))
        return false;
    }
  return true;
}

// What the file holds, exactly as written.
QImage savedAs(PictureToolBar *bar, const QString &path) {
  return bar->saveResult(path).isEmpty() ? QImage(path) : QImage();
}

// Whether columns [from, to) of the two pictures are the same, below the
// caption the view shows over the original.
bool sameColumns(const QImage &a, const QImage &b, int from, int to) {
  for (int y = 40; y < a.height(); ++y)
    for (int x = from; x < to; ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return from < to;
}

QImage grabbed(QWidget *view) {
  return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
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

class PictureToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void stagesAreTheReferenceDetectorsSteps() {
    const QImage picture = imageNamed("fourthPic");
    const std::vector<uchar> gray = grayBytes(picture);
    // Unsmoothed, and wide with one pass.
    for (const EdgeSettings settings : {EdgeSettings{2, 6, 0, 4}, EdgeSettings{5, 15, 7.5f, 1}}) {
      const reference::Stages expected =
          reference::stages(settings.t1, settings.sigma, settings.steps, picture.width(),
                            picture.height(), gray.data());
      const float largest = *std::max_element(expected.magnitude.begin(), expected.magnitude.end());
      QVERIFY(showsExactly(computeStage(picture, settings, EdgeStage::kSmoothed), expected.smoothed,
                           255.0f));
      QVERIFY(showsExactly(computeStage(picture, settings, EdgeStage::kGradientMagnitude),
                           expected.magnitude, largest));
      // The largest magnitude is a local maximum, so the scale is the same.
      QVERIFY(showsExactly(computeStage(picture, settings, EdgeStage::kThinnedMagnitude),
                           expected.thinned, largest));
    }
  }

  void whatIsShownIsWhatSaveAndCopyGiveAndOwnPicturesOpen() {
    FirstPicViewController screen(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    PictureToolBar *bar = screen.toolBar();
    // The stage box is named by its label, not by the stage it shows.
    const auto labels =
        QAccessible::queryAccessibleInterface(bar->stageBox())->relations(QAccessible::Label);
    QVERIFY(labels.size() == 1 && labels[0].first->text(QAccessible::Name) == "Stage");
    QCOMPARE(bar->stageBox()->accessibleName(), "Stage");
    QVERIFY(!bar->saveResult(_dir.filePath("early.png")).isEmpty());  // nothing to save yet

    const QImage sample = imageNamed("firstPic.png");
    const EdgeSettings start{0.6f, 0.8f, 0.0f, 4};
    const QImage edges = edgeMap(sample, start);
    QTest::keyClick(bar->overlayBox(), Qt::Key_Space);
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    // Exactly the edge pixels in the overlay colour, the picture elsewhere.
    const QImage overlay = shown(screen);
    for (int y = 0; y < sample.height(); ++y)
      for (int x = 0; x < sample.width(); ++x)
        QCOMPARE(overlay.pixel(x, y),
                 edges.pixelColor(x, y).value() ? kEdgeOverlayColour : sample.pixel(x, y));
    QCOMPARE(screen.image()->comparison(), sample);
    QTest::keyPress(screen.sliderT1()->track(), Qt::Key_Space);  // Space the slider leaves alone
    QVERIFY(screen.image()->isComparing());
    QTest::keyRelease(screen.sliderT1()->track(), Qt::Key_Space);
    // The map itself is saved and copied, not its overlay, in 0 and 255 only.
    QCOMPARE(savedAs(bar, _dir.filePath("map.png")), edges);
    QFile saved(_dir.filePath("map.png"));  // the very file the tool writes
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(),
             encodeEdgePng(edges.constBits(), edges.width(), edges.height(), edges.bytesPerLine()));
    QCOMPARE(savedAs(bar, _dir.filePath("map.pgm")), edges);
    // Named after the picture, in the folder last used; a name without an extension saved as PNG.
    rememberFolderOf(_dir.filePath("map.png"));
    QCOMPARE(bar->suggestedSaveName(), _dir.filePath("firstPic-edges.png"));
    QVERIFY(bar->saveResult(_dir.filePath("plain")).isEmpty());
    QCOMPARE(QImage(_dir.filePath("plain.png"), "png"), edges);
    QTest::keyClick(&screen, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(!screen.image()->isFitted());
    QTest::keyClick(&screen, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_Grayscale8), edges);
    QVERIFY(bar->saveResult(_dir.filePath("map.jpg")).contains("map.jpg"));
    QVERIFY(!QFile::exists(_dir.filePath("map.jpg")));

    // Choosing a stage while a map is shown shows that stage at once.
    bar->setStage(EdgeStage::kThinnedMagnitude);
    QVERIFY(settled(screen));
    const StagePicture thinned = computeStage(sample, start, EdgeStage::kThinnedMagnitude);
    QCOMPARE(shown(screen), thinned.image);
    QCOMPARE(bar->scaleText(), "white = magnitude " + QString::number(thinned.white, 'g', 4));
    QCOMPARE(savedAs(bar, _dir.filePath("thinned.pgm")), thinned.image);

    clickOn(screen.resetButton());
    QCOMPARE(shown(screen), sample);
    QVERIFY(!bar->copyAction()->isEnabled());
    // The picture stays while "Over picture" is unticked and ticked again.
    bar->setStage(EdgeStage::kEdgeMap);
    for (int click = 0; click < 2; ++click) {
      QTest::keyClick(bar->overlayBox(), Qt::Key_Space);
      QCOMPARE(shown(screen), sample);
    }

    // A picture of one's own, dropped, shown full size until reverted; a broken one named, ignored.
    QTest::keyClick(bar->overlayBox(), Qt::Key_Space);
    QImage own = imageNamed("thirdPic").copy(100, 100, 80, 64);
    QVERIFY(own.save(_dir.filePath("own.png")));
    QVERIFY(writeFile(_dir.filePath("broken.png"), "\x89PNG\r\n\x1a\n-"));
    drop(&screen, _dir.filePath("own.png"));
    QVERIFY(settled(screen));
    QCOMPARE(shown(screen).size(), QSize(80, 64));
    QCOMPARE(screen.pictureFileName(), _dir.filePath("own.png"));  // for the command line
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    QCOMPARE(shown(screen), edgeMap(own, start));
    QCOMPARE(bar->suggestedSaveName(), _dir.filePath("own-edges.png"));
    QVERIFY(bar->openFile(_dir.filePath("broken.png")).contains("broken.png"));
    QCOMPARE(shown(screen), edgeMap(own, start));

    bar->revertAction()->trigger();
    QCOMPARE(shown(screen), imageNamed("firstPic.png"));
    QVERIFY(!bar->revertAction()->isEnabled());
  }

  void splitShowsThePictureLeftOfTheDividerAndTheMapRight() {
    FirstPicViewController screen(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    ImageView *view = screen.image();
    const QImage map = grabbed(view);
    view->holdComparison(true);
    const QImage picture = grabbed(view);
    view->holdComparison(false);
    QVERIFY(map != picture);

    auto *divider = view->findChild<SplitDivider *>();
    QVERIFY(divider && !divider->isVisible());
    QTest::keyClick(screen.toolBar()->splitBox(), Qt::Key_Space);
    QVERIFY(divider->isVisible());
    // Dragged by its grip, into the picture's left half.
    QWindow *window = screen.windowHandle();
    const QPoint grip = view->mapTo(&screen, QPoint(divider->dividerX(), view->height() / 2));
    const QPoint to = grip - QPoint(view->pictureRect().width() / 4, 40);
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, (grip + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    const int x = divider->dividerX();
    QCOMPARE(x, view->mapFrom(&screen, to).x());
    const QImage split = grabbed(view);
    QVERIFY(sameColumns(split, picture, 0, x - 8));
    QVERIFY(sameColumns(split, map, x + 8, view->width()));
    QVERIFY(!sameColumns(split, map, 0, x - 8));

    // Keys move it too; the next view's divider starts where this one was left.
    QTest::keyClick(divider, Qt::Key_End);
    QCOMPARE(divider->dividerX(), view->width());
    QTest::keyClick(divider, Qt::Key_PageDown);
    ImageView another;
    SplitDivider next(&another);
    QCOMPARE(next.value(), SplitDivider::kRange * 9 / 10);
    next.setValue(SplitDivider::kRange / 4);  // shown again, a divider takes that place
    for (int click = 0; click < 2; ++click)
      QTest::keyClick(screen.toolBar()->splitBox(), Qt::Key_Space);
    QCOMPARE(divider->value(), SplitDivider::kRange / 4);
    // Assistive technology meets a named slider.
    QAccessibleInterface *told = QAccessible::queryAccessibleInterface(divider);
    QVERIFY(told->role() == QAccessible::Slider && !told->text(QAccessible::Name).isEmpty());
  }

 private:
  AppDelegate _delegate;
  QTemporaryDir _dir;
};

QTEST_MAIN(PictureToolsTest)
#include "picture_tools_test.moc"
