// Around Apply: the window answers while it works; live maps equal Apply's, stale ones never shown;
// the status line's command gives the shown map through canny; suggestions, defaults and hints act
// on the real sliders.
#include <QtTest>
#include <QtWidgets>
#include <algorithm>

#include "screens/camera/CameraHint.h"
#include "screens/camera/FifthViewController.h"
#include "screens/live/LiveMode.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/picture/FirstPicViewController.h"
#include "screens/picture/FourthViewController.h"
#include "screens/picture/SecondPicViewController.h"
#include "screens/picture/ThirdPicViewController.h"
#include "screens/picture/ThresholdSuggestion.h"
#include "screens/widgets/ImageNamed.h"
#include "tests/screens/StandInPictureSource.h"
#include "tests/screens/TestScreens.h"

namespace {
void press(FloatSlider *slider, Qt::Key key, int times = 1) {
  for (int i = 0; i < times; ++i) QTest::keyClick(slider->track(), key);
}
}  // namespace

class LiveTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    cleanup();  // a run before may have left it on
  }
  void cleanup() { LiveMode::shared().setOn(false); }
  void liveMapsEqualApplysAndStaleOnesAreNeverShown() {
    SecondPicViewController screen(QStringLiteral("SecondPicViewController"), tryCannyEdgeDetector);
    screen.show();
    DetectionPanel *panel = screen.detectionPanel();
    const QImage sample = shown(screen);

    // Every map that reaches the screen is the one for the sliders of that moment.
    int delivered = 0, stale = 0;
    PictureScreenModel *model = screen.model();
    connect(model, &PictureScreenModel::resultShown, this, [&] {
      const EdgeSettings s = model->result().settings;
      stale += !(s == screen.sliderSettings()) || model->result().edgeMap != edgeMap(sample, s);
      ++delivered;
    });
    clickOn(panel->liveSwitch());
    QTRY_COMPARE(shown(screen), edgeMap(sample, screen.sliderSettings()));  // at once
    QCOMPARE(QSettings("canny-demo", "canny-demo").value("liveMode").toBool(), true);
    press(screen.sliderSigma(), Qt::Key_PageUp, 3);
    for (int i = 0; i < 20; ++i) {
      press(screen.sliderT2(), i % 3 ? Qt::Key_Right : Qt::Key_Left);
      QTest::qWait(3);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!panel->liveDetector().isBusy(), 20000);
    QVERIFY(delivered > 0 && stale == 0);
    const QImage live = shown(screen);
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    QCOMPARE(shown(screen), live);
  }

  void theWindowAnswersWhileApplyWorks() {
    // A detection that lasts until the test ends it (or 5 s, were it run on this thread).
    QSemaphore started, finish;
    SecondPicViewController screen(
        QStringLiteral("SecondPicViewController"),
        [&](float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
            std::int32_t height, std::uint8_t *data) {
          started.release();
          finish.tryAcquire(1, 5000);
          return tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
        });
    screen.show();
    const QImage sample = shown(screen);
    QWidget *busy = screen.detectionPanel()->busySign();
    QElapsedTimer clock;
    clock.start();
    clickOn(screen.applyButton());
    QVERIFY(clock.elapsed() < 1000 && !busy->isVisible());
    QTRY_VERIFY(busy->isVisible());         // after a glance
    press(screen.sliderT1(), Qt::Key_End);  // the sliders answer meanwhile
    QCOMPARE(screen.sliderT1()->value(), 10.0f);
    QCOMPARE(shown(screen), sample);
    finish.release();
    QTRY_VERIFY(!busy->isVisible());
    QCOMPARE(shown(screen), edgeMap(sample, {2, 6, 0, 4}));  // the click's settings

    // Reset drops the run under way: neither its map nor the busy sign turns up after.
    clickOn(screen.applyButton());
    QVERIFY(started.tryAcquire(2, 5000));  // this run has started, as the one before did
    clickOn(screen.resetButton());
    finish.release();
    QTest::qWait(500);
    QVERIFY(!busy->isVisible());
    QCOMPARE(shown(screen), sample);
  }

  void statusCommandGivesTheShownMapThroughCanny() {
    FirstPicViewController screen(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
    screen.show();
    screen.sliderT1()->moveHandleNear(0.6374f);
    QCOMPARE(screen.sliderT1()->valueText(), QStringLiteral("0.637"));
    press(screen.sliderSigma(), Qt::Key_Right, 3);
    press(screen.sliderSteps(), Qt::Key_Left);
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    const QImage map = shown(screen);
    DetectionPanel *panel = screen.detectionPanel();
    const qint64 edges = std::count(map.constBits(), map.constBits() + map.sizeInBytes(), 255);
    QVERIFY(panel->statusLine()->text().contains(QLocale().toString(edges) + " edge pixels"));
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(screen.image());
    QVERIFY(view->text(QAccessible::Description).contains("T1 0.637, T2 0.8, Sigma 1.8, Steps 3"));

    // The command names the picture and the map last; both go into a scratch folder.
    QStringList arguments = QProcess::splitCommand(panel->commandLine()->text());
    QCOMPARE(arguments.takeFirst(), QStringLiteral("canny"));
    QTemporaryDir folder;
    for (qsizetype i : {arguments.size() - 2, arguments.size() - 1})
      arguments[i] = folder.filePath(arguments[i]);
    QVERIFY(imageNamed("firstPic.png").save(arguments[arguments.size() - 2]));
    QCOMPARE(QProcess::execute(CANNY_PATH, arguments), 0);
    QCOMPARE(QImage(arguments.last()).convertToFormat(QImage::Format_Grayscale8), map);
  }

  void suggestionsHintsAndDefaults() {
    // Two upright steps, 0 to 40 and 40 to 140: thinned magnitudes of 20 and 50.
    QImage steps(30, 12, QImage::Format_Grayscale8);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 30; ++x) steps.scanLine(y)[x] = x < 10 ? 0 : x < 20 ? 40 : 140;
    const auto wide = suggestSettings(steps, 0, 0, {0, 100}, {0, 100}, {0, 0});
    QVERIFY(wide && wide->t2 == 50.0f && wide->t1 == 20.0f && wide->sigma == 0);
    const auto clamped = suggestSettings(steps, 0, 0, {1, 3}, {0, 10}, {0, 0});
    QVERIFY(clamped && clamped->t2 == 10.0f && clamped->t1 == 3.0f && clamped->steps == 4);
    steps.fill(77);
    QVERIFY(!suggestSettings(steps, 2, 4, {0, 1}, {0, 2}, {0, 60}));

    // On a screen: values a handle can set, inside the ranges, shown at once.
    SecondPicViewController screen(QStringLiteral("SecondPicViewController"), tryCannyEdgeDetector);
    screen.resize(640, 720);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    // Where every control is: rows that appear later must not move them.
    QList<QWidget *> controls;
    for (QWidget *control : screen.findChildren<QWidget *>())
      if (control->isVisible() &&
          (qobject_cast<QAbstractButton *>(control) || qobject_cast<FloatSlider *>(control)))
        controls << control;
    const auto places = [&] {
      QTest::qWait(50);  // the layouts settle
      QList<QPoint> at;
      for (const QWidget *control : controls) at << control->mapTo(&screen, QPoint());
      return at;
    };
    const QList<QPoint> start = places();
    const QImage sample = shown(screen);
    clickOn(screen.detectionPanel()->suggestButton());
    QVERIFY(settled(screen));
    const EdgeSettings s = screen.sliderSettings();
    QVERIFY(s.t1 > 0 && s.t1 <= s.t2 && s.t2 <= screen.sliderT2()->maximumValue());
    QVERIFY(!(s.t1 == 2 && s.t2 == 6));
    QCOMPARE(screen.sliderT1()->valueText().toFloat(), s.t1);
    QCOMPARE(screen.sliderT2()->valueText().toFloat(), s.t2);
    QCOMPARE(shown(screen), edgeMap(sample, s));

    // Hints for a map of every pixel or of none; Defaults brings back the start.
    QLabel *hint = screen.detectionPanel()->hint();
    press(screen.sliderT2(), Qt::Key_Home);
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    QVERIFY(hint->isVisible() && hint->text().contains("Every pixel"));
    QCOMPARE(places(), start);
    for (FloatSlider *slider : {screen.sliderT2(), screen.sliderSigma(), screen.sliderSteps()})
      press(slider, Qt::Key_End);
    clickOn(screen.applyButton());
    QVERIFY(settled(screen));
    QVERIFY(hint->isVisible() && hint->text().contains("No edges"));
    clickOn(screen.resetButton());
    QVERIFY(!hint->isVisible());
    QCOMPARE(places(), start);
    clickOn(screen.detectionPanel()->defaultsButton());
    QVERIFY(screen.sliderSettings() == (EdgeSettings{2, 6, 0, 4}));
  }

  void suggestionsGiveUsefulMapsOnEverySample() {
    FirstPicViewController first(QStringLiteral("FirstPicViewController"), tryCannyEdgeDetector);
    SecondPicViewController second(QStringLiteral("SecondPicViewController"), tryCannyEdgeDetector);
    ThirdPicViewController third(QStringLiteral("ThirdPicViewController"), tryCannyEdgeDetector);
    FourthViewController fourth(QStringLiteral("FourthViewController"), tryCannyEdgeDetector);
    for (PictureViewController *screen : {static_cast<PictureViewController *>(&first),
                                          static_cast<PictureViewController *>(&second),
                                          static_cast<PictureViewController *>(&third),
                                          static_cast<PictureViewController *>(&fourth)}) {
      screen->show();
      clickOn(screen->detectionPanel()->suggestButton());
      QVERIFY(settled(*screen));
      const EdgeSettings s = screen->sliderSettings();
      const FloatSlider *t1 = screen->sliderT1(), *t2 = screen->sliderT2();
      QVERIFY2(std::abs(s.t1 - 0.4f * s.t2) <= t1->stepSize() + 0.4 * t2->stepSize() / 2,
               qPrintable(screen->objectName()));
      QVERIFY(s.t1 > 0 && s.t1 <= t1->maximumValue() && s.t2 < t2->maximumValue());
      const QImage map = shown(*screen);
      qint64 edges = 0;
      for (int y = 0; y < map.height(); ++y)
        edges += std::count(map.constScanLine(y), map.constScanLine(y) + map.width(), 255);
      const double share = double(edges) / (qint64(map.width()) * map.height());
      QVERIFY2(share > 0.01 && share < 0.08, qPrintable(QString::number(share)));
      screen->hide();
    }
  }

  void cameraTabWithoutAPictureOffersBothWays() {
    LiveMode::shared().setOn(true);  // as a run before left it; nothing to detect yet
    FifthViewController screen(QStringLiteral("FifthViewController"), tryCannyEdgeDetector);
    auto *source = new StandInPictureSource;
    screen.setPictureSource(std::unique_ptr<CameraPictureSource>(source));
    QTemporaryDir folder;
    const QString chosen = folder.filePath("cyan.png");
    screen.setFileChooser([&](QWidget *) { return chosen; });
    screen.setShotFolder(folder.path());
    screen.show();
    source->cancel();
    QVERIFY(!screen.detectionPanel()->suggestButton()->isEnabled());
    CameraHint *hint = screen.cameraHint();
    QTRY_VERIFY(hint && hint->isVisible());
    QImage picture(600, 400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(chosen));
    clickOn(hint->openButton());
    QVERIFY(!hint->isVisible() && screen.detectionPanel()->suggestButton()->isEnabled());
    QCOMPARE(screen.preImage().deviceIndependentSize(), QSizeF(75, 50));
    QVERIFY(screen.detectionPanel()->statusLine()->text().contains("an eighth of 600 × 400"));
  }
};

QTEST_MAIN(LiveTest)
#include "live_test.moc"
