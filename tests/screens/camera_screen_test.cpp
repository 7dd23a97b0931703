// The camera screen with a stand-in picture source: the picture kept is an
// eighth of the one taken, at the screen's pixel ratio, and Apply, Reset,
// Cancel and coming back to the tab behave around it. Run once more with
// QT_SCALE_FACTOR=2 to see the pixel ratio at work.
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/AppDelegate.h"
#include "screens/FifthViewController.h"
#include "screens/ImageNamed.h"
#include "tests/screens/StandInPictureSource.h"
#include "tests/screens/TestScreens.h"

namespace {
// The start values of the camera screen's sliders.
QImage edgeMapAtStart(const QImage &picture) { return engineEdgeMap(picture, 2, 6, 2, 4); }

qreal screenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// A camera picture of the given point size, drawn with some structure so
// that its edge map is not empty.
QImage cameraPicture(QSize points, qreal ratio = 1.0) {
  QImage picture = imageNamed("secondPic")
                       .scaled(points * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  picture.setDevicePixelRatio(ratio);
  return picture;
}

void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
}  // namespace

class CameraScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void keepsAnEighthAtTheScreensPixelRatio();
  void pointSizeCountsNotPixels();
  void withoutAPictureApplyAndResetDoNothing();
  void applyStartsFromTheKeptPicture();
  void cancelKeepsPictureAndView();
  void opensOnEveryAppearanceOfTheTab();

 private:
  AppDelegate _delegate;  // carries the detector Apply runs
  std::unique_ptr<FifthViewController> _screen;
  StandInPictureSource *_source = nullptr;  // owned by the screen
};

void CameraScreenTest::init() {
  _screen = std::make_unique<FifthViewController>("FifthViewController", tryCannyEdgeDetector);
  auto source = std::make_unique<StandInPictureSource>();
  _source = source.get();
  _screen->setPictureSource(std::move(source));
  _screen->show();
  QVERIFY(QTest::qWaitForWindowExposed(_screen.get()));
}

void CameraScreenTest::cleanup() { _screen.reset(); }

void CameraScreenTest::keepsAnEighthAtTheScreensPixelRatio() {
  // The pixel ratio this run was started with is the one the screen uses.
  QCOMPARE(screenRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
  QCOMPARE(_source->presented, 1);
  _source->take(cameraPicture({800, 640}));
  QVERIFY(!_source->isOpen);

  const QImage kept = _screen->preImage();
  QCOMPARE(kept.deviceIndependentSize(), QSizeF(100, 80));
  QCOMPARE(kept.devicePixelRatio(), screenRatio());
  QCOMPARE(kept.size(), QSize(100, 80) * screenRatio());
  QCOMPARE(_screen->image()->image(), kept);

  // The detector works on the kept picture's pixels: 200 x 160 at ratio 2.
  clickOn(_screen->applyButton());
  const QImage edges = _screen->image()->image();
  QCOMPARE(edges.size(), kept.size());
  QCOMPARE(edges, edgeMapAtStart(kept));
  QVERIFY(isBlackAndWhiteEdgeMap(edges));
}

void CameraScreenTest::pointSizeCountsNotPixels() {
  // 1600 x 1280 pixels at ratio 2 are 800 x 640 points.
  _source->take(cameraPicture({800, 640}, 2.0));
  QCOMPARE(_screen->preImage().deviceIndependentSize(), QSizeF(100, 80));
  // Odd sizes lose the fraction of a pixel, never the picture.
  _source->take(cameraPicture({322, 243}));
  QCOMPARE(_screen->preImage().size(), QSize(40, 30) * screenRatio());
}

void CameraScreenTest::withoutAPictureApplyAndResetDoNothing() {
  auto applyAndResetShowNothing = [this] {
    clickOn(_screen->applyButton());
    clickOn(_screen->resetButton());
    return _screen->image()->image().isNull();
  };
  QVERIFY(_screen->preImage().isNull());
  QVERIFY(applyAndResetShowNothing());
  // Whatever is shown stays.
  QImage shown(8, 8, QImage::Format_RGB32);
  shown.fill(Qt::blue);
  _screen->image()->setImage(shown);
  clickOn(_screen->applyButton());
  clickOn(_screen->resetButton());
  QCOMPARE(_screen->image()->image(), shown);
  _screen->image()->setImage({});

  // A picture less than a pixel wide once shrunk (at ratio 1 and at 2) puts
  // the screen back where it started.
  _source->take(cameraPicture({800, 640}));
  _source->presentPicker(nullptr);
  _source->take(cameraPicture({3, 200}));
  QVERIFY(!_source->isOpen);
  QVERIFY(_screen->preImage().isNull());
  QVERIFY(applyAndResetShowNothing());

  // Nor does a null picture bring anything down, or a size no picture has.
  _source->take(QImage());
  QVERIFY(_screen->preImage().isNull());
  const QImage picture = cameraPicture({16, 16});
  QVERIFY(FifthViewController::imageWithImage(picture, {1e12, 10}).isNull());
  QVERIFY(FifthViewController::imageWithImage(picture, {qQNaN(), 10}).isNull());
  QVERIFY(FifthViewController::imageWithImage(picture, {-8, 10}).isNull());
}

void CameraScreenTest::applyStartsFromTheKeptPicture() {
  _source->take(cameraPicture({800, 640}));
  const QImage first = _screen->preImage();
  clickOn(_screen->applyButton());
  const QImage edges = _screen->image()->image();
  clickOn(_screen->applyButton());
  QCOMPARE(_screen->image()->image(), edges);
  clickOn(_screen->resetButton());
  QCOMPARE(_screen->image()->image(), first);

  // A second picture after an Apply is shown as it is, and Apply then works
  // on it.
  clickOn(_screen->applyButton());
  const QImage second = cameraPicture({640, 480}).mirrored(true, false);
  _source->take(second);
  QCOMPARE(_screen->image()->image(), _screen->preImage());
  QCOMPARE(_screen->preImage().deviceIndependentSize(), QSizeF(80, 60));
  clickOn(_screen->applyButton());
  QCOMPARE(_screen->image()->image(), edgeMapAtStart(_screen->preImage()));
}

void CameraScreenTest::cancelKeepsPictureAndView() {
  _source->take(cameraPicture({800, 640}));
  const QImage kept = _screen->preImage();
  clickOn(_screen->applyButton());
  const QImage edges = _screen->image()->image();

  _source->presentPicker(nullptr);
  _source->cancel();
  QVERIFY(!_source->isOpen);
  QCOMPARE(_screen->preImage(), kept);
  QCOMPARE(_screen->image()->image(), edges);
  clickOn(_screen->resetButton());
  QCOMPARE(_screen->image()->image(), kept);
}

void CameraScreenTest::opensOnEveryAppearanceOfTheTab() {
  _screen.reset();
  QTabWidget tabs;
  tabs.addTab(new QWidget, "Other");
  auto *screen = new FifthViewController("FifthViewController", tryCannyEdgeDetector);
  auto source = std::make_unique<StandInPictureSource>();
  StandInPictureSource *counted = source.get();
  screen->setPictureSource(std::move(source));
  tabs.addTab(screen, "Fifth");
  tabs.show();
  QVERIFY(QTest::qWaitForWindowExposed(&tabs));
  QCOMPARE(counted->presented, 0);

  auto clickTab = [&](int tab) {
    QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(tab).center());
  };
  clickTab(1);
  QCOMPARE(counted->presented, 1);
  // Closing the picker is no new appearance.
  counted->take(cameraPicture({800, 640}));
  counted->cancel();
  QTest::qWait(50);
  QCOMPARE(counted->presented, 1);

  clickTab(0);
  QCOMPARE(counted->presented, 1);
  clickTab(1);
  QCOMPARE(counted->presented, 2);
  QVERIFY(counted->isOpen);
  // The picture taken before is still there.
  QCOMPARE(screen->preImage().deviceIndependentSize(), QSizeF(100, 80));
}

QTEST_MAIN(CameraScreenTest)
#include "camera_screen_test.moc"
