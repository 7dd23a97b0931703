// The gray bitmap bridge: picture to gray bytes, the detector at the sliders' values, map back.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "app/AppDelegate.h"
#include "imaging/StandardErrorCapture.h"
#include "screens/picture/FirstPicViewController.h"
#include "screens/picture/FourthViewController.h"
#include "screens/picture/SecondPicViewController.h"
#include "screens/picture/ThirdPicViewController.h"
#include "screens/widgets/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
template <class Screen>
std::unique_ptr<PictureViewController> made() {
  auto screen = std::make_unique<Screen>(QStringLiteral("screen"), tryCannyEdgeDetector);
  screen->loadViewIfNeeded();
  return screen;
}

QImage applyAt(PictureViewController &screen, const QImage &picture, EdgeSettings s, float steps) {
  screen.sliderT1()->setValue(s.t1);
  screen.sliderT2()->setValue(s.t2);
  screen.sliderSigma()->setValue(s.sigma);
  screen.sliderSteps()->setValue(steps);
  return screen.ManipulateImagePixelData(picture);
}

// The first screen fails silently, the second says why on standard error.
void addSilentAndTellingScreens() {
  QTest::addColumn<bool>("tells");
  QTest::newRow("first, silent") << false;
  QTest::newRow("second") << true;
}
}  // namespace

class BridgeTest : public QObject {
  Q_OBJECT

 private slots:
  void edgeMapEqualsTheEngines() {
    // Gray, colour, and an odd width where a padded row would show.
    for (const auto &screen : {made<FirstPicViewController>(), made<ThirdPicViewController>(),
                               made<FourthViewController>()}) {
      const QImage sample = imageNamed(screen->constants().picture);
      // Fractions a rounding would lose, smoothing where passes count, and a pass count truncated.
      const QImage map = applyAt(*screen, sample, {0.3172f, 0.9061f, 1.531f, 3}, 3.99f);
      QVERIFY2(isBlackAndWhiteEdgeMap(map), screen->constants().picture);
      QCOMPARE(map, edgeMap(sample, {0.3172f, 0.9061f, 1.531f, 3}));
      QVERIFY(map != edgeMap(sample, {0.3172f, 0.9061f, 1.531f, 4}));
    }
  }

  void repeatedAppliesLeaveNothingBehind() {
    // Afresh each time; under valgrind nothing of a call stays allocated, no freed byte is read.
    const auto screen = made<SecondPicViewController>();
    const QImage sample = imageNamed("secondPic").copy(100, 120, 97, 64);
    const QImage first = applyAt(*screen, sample, {1, 3, 1, 2}, 2);
    QCOMPARE(first, edgeMap(sample, {1, 3, 1, 2}));
    for (int i = 0; i < 20; ++i) QCOMPARE(screen->ManipulateImagePixelData(sample), first);
  }

  void emptyPictureGivesNullAndOneMessage_data() { addSilentAndTellingScreens(); }
  void emptyPictureGivesNullAndOneMessage() {
    QFETCH(bool, tells);
    const auto screen = tells ? made<SecondPicViewController>() : made<FirstPicViewController>();
    for (const QImage &empty :
         {QImage(), QImage(0, 7, QImage::Format_RGB32), QImage(7, 0, QImage::Format_RGB32)}) {
      StandardErrorCapture standardError;
      QVERIFY(screen->ManipulateImagePixelData(empty).isNull());
      QCOMPARE(standardError.finish(), tells ? "Context not created!" : "");
    }
  }

  void exhaustedMemoryGivesNullAndItsMessage_data() { addSilentAndTellingScreens(); }
  void exhaustedMemoryGivesNullAndItsMessage() {
    QFETCH(bool, tells);
    const auto screen = tells ? made<SecondPicViewController>() : made<FirstPicViewController>();
    // One bit a pixel here, one byte a pixel in the bridge: 400 MB it cannot have.
    QImage huge(20000, 20000, QImage::Format_Mono);
    QTemporaryFile errors;
    QVERIFY(!huge.isNull() && errors.open());

    // The address space is cut in a child, so this process keeps its memory.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
      ::dup2(errors.handle(), 2);
      long pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (64u << 20);
      const rlimit cut{limit, limit};
      if (pages == 0 || setrlimit(RLIMIT_AS, &cut) != 0) _exit(2);
      const bool nothing = screen->ManipulateImagePixelData(huge).isNull();
      std::fflush(stderr);
      _exit(nothing ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(status, 0);  // exited, and with 0
    // The child wrote through a descriptor sharing this file's offset.
    QVERIFY(errors.seek(0));
    QCOMPARE(errors.readAll(), tells ? "Memory not allocated!" : "");
  }

 private:
  AppDelegate _delegate;  // the running delegate the bridge calls
};

QTEST_MAIN(BridgeTest)
#include "bridge_test.moc"
