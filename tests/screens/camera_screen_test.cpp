// The camera screen with a stand-in source: it keeps an eighth of the picture taken, at the
// pixel ratio (run again with QT_SCALE_FACTOR=2); Apply, Reset and Cancel around it.
#include <QLineEdit>
#include <QProcess>

#include "app/AppDelegate.h"
#include "screens/camera/FifthViewController.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/widgets/ImageNamed.h"
#include "tests/screens/StandInPictureSource.h"
#include "tests/screens/TestScreens.h"

namespace {
qreal screenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// A camera picture of `points`, with structure enough for a non-empty edge map.
QImage cameraPicture(QSize points, qreal ratio = 1.0) {
  QImage picture = imageNamed("secondPic").scaled(points * ratio);
  picture.setDevicePixelRatio(ratio);
  return picture;
}
}  // namespace

class CameraScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    _screen = std::make_unique<FifthViewController>("FifthViewController", tryCannyEdgeDetector);
    _source = new StandInPictureSource;
    _screen->setPictureSource(std::unique_ptr<CameraPictureSource>(_source));
    _screen->setShotFolder(_shots.filePath("shots"));
    _screen->show();
  }

  void keepsAnEighthAtTheScreensPixelRatio() {
    QCOMPARE(screenRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    QCOMPARE(_source->presented, 1);
    _source->take(cameraPicture({800, 640}));
    QVERIFY(!_source->isOpen);
    const QImage kept = _screen->preImage();
    QCOMPARE(kept.deviceIndependentSize(), QSizeF(100, 80));
    QCOMPARE(kept.size(), QSize(100, 80) * screenRatio());
    QCOMPARE(shown(*_screen), kept);

    // Apply works on the kept picture's pixels, twice alike; Reset goes back.
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    const QImage edges = shown(*_screen);
    QCOMPARE(edges, edgeMap(kept, {2, 6, 2, 4}));
    QVERIFY(isBlackAndWhiteEdgeMap(edges));
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    QCOMPARE(shown(*_screen), edges);

    // Cancel keeps the picture and what is shown.
    _source->presentPicker(nullptr);
    _source->cancel();
    QVERIFY(!_source->isOpen && _screen->preImage() == kept);
    QCOMPARE(shown(*_screen), edges);
    clickOn(_screen->resetButton());
    QCOMPARE(shown(*_screen), kept);

    // Points count, not pixels, odd sizes rounded down; a new picture is shown as it is, and used.
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    _source->take(cameraPicture({800, 640}, 2.0));
    QCOMPARE(_screen->preImage().deviceIndependentSize(), QSizeF(100, 80));
    _source->take(cameraPicture({322, 243}).mirrored(true, false));
    QCOMPARE(_screen->preImage().size(), QSize(40, 30) * screenRatio());
    QCOMPARE(shown(*_screen), _screen->preImage());
    clickOn(_screen->applyButton());
    QVERIFY(settled(*_screen));
    QCOMPARE(shown(*_screen), edgeMap(_screen->preImage(), {2, 6, 2, 4}));
  }

  void theCommandShownGivesTheMapThroughCanny() {
    // Opaque, and partly see-through, which a colour file cannot carry exactly.
    QImage seeThrough = cameraPicture({800, 640}).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < seeThrough.height(); ++y)
      for (int x = 0; x < seeThrough.width(); ++x)
        seeThrough.setPixel(x, y, (seeThrough.pixel(x, y) & 0xffffff) | uint(x * 255 / 800) << 24);
    for (const QImage &picture : {cameraPicture({800, 640}), seeThrough}) {
      _source->take(picture);
      clickOn(_screen->applyButton());
      QVERIFY(settled(*_screen));
      // The command names the kept picture, written where it says; the map goes beside it.
      QStringList arguments =
          QProcess::splitCommand(_screen->detectionPanel()->commandLine()->text());
      QCOMPARE(arguments.takeFirst(), QStringLiteral("canny"));
      QVERIFY2(arguments.at(arguments.size() - 2).startsWith(_shots.filePath("shots/camera-")),
               qPrintable(arguments.join(' ')));
      arguments.last() = _shots.filePath(arguments.last());
      QCOMPARE(QProcess::execute(CANNY_PATH, arguments), 0);
      QCOMPARE(QImage(arguments.last()).convertToFormat(QImage::Format_Grayscale8),
               shown(*_screen));
    }
  }

  void picturesTooSmallToKeepChangeNothing() {
    auto applyAndResetShowNothing = [this] {
      clickOn(_screen->applyButton());
      clickOn(_screen->resetButton());
      return settled(*_screen) && shown(*_screen).isNull();
    };
    QVERIFY(applyAndResetShowNothing());
    QVERIFY(!_screen->applyButton()->isEnabled() && !_screen->resetButton()->isEnabled());
    // Less than a pixel wide once shrunk: the screen is back where it started.
    _source->take(cameraPicture({800, 640}));
    _source->presentPicker(nullptr);
    _source->take(cameraPicture({3, 200}));
    QVERIFY(!_source->isOpen && _screen->preImage().isNull());
    QVERIFY(applyAndResetShowNothing());
    QVERIFY(!_screen->applyButton()->isEnabled() && !_screen->resetButton()->isEnabled());
    _source->take(QImage());
    QVERIFY(_screen->preImage().isNull());
    for (qreal width : {1e12, qQNaN(), -8.0})
      QVERIFY(FifthViewController::imageWithImage(cameraPicture({16, 16}), {width, 10}).isNull());
  }

 private:
  AppDelegate _delegate;  // carries the detector Apply runs
  std::unique_ptr<FifthViewController> _screen;
  StandInPictureSource *_source = nullptr;  // owned by the screen
  QTemporaryDir _shots;
};

QTEST_MAIN(CameraScreenTest)
#include "camera_screen_test.moc"
