// The gray bitmap bridge: picture to gray bytes, the detector with the
// sliders' values, and the edge map back as a picture.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QtTest>

#include "app/AppDelegate.h"
#include "imaging/StandardErrorCapture.h"
#include "screens/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
QImage applyAt(PictureViewController &screen, const QImage &picture, float t1, float t2,
               float sigma, float steps) {
  screen.sliderT1()->setValue(t1);
  screen.sliderT2()->setValue(t2);
  screen.sliderSigma()->setValue(sigma);
  screen.sliderSteps()->setValue(steps);
  return screen.ManipulateImagePixelData(picture);
}

void addSilentAndTellingScreens() {
  QTest::addColumn<QString>("screen");
  QTest::addColumn<QByteArray>("failureMessage");
  QTest::newRow("first, silent") << "FirstPicViewController" << QByteArray();
  QTest::newRow("second") << "SecondPicViewController" << QByteArray("%1");
}
}  // namespace

class BridgeTest : public QObject {
  Q_OBJECT

 private slots:
  void edgeMapEqualsTheEngines();
  void repeatedAppliesLeaveNothingBehind();
  void emptyPictureGivesNullAndOneMessage_data() { addSilentAndTellingScreens(); }
  void emptyPictureGivesNullAndOneMessage();
  void exhaustedMemoryGivesNullAndItsMessage_data() { addSilentAndTellingScreens(); }
  void exhaustedMemoryGivesNullAndItsMessage();

 private:
  AppDelegate _delegate;  // the running delegate the bridge calls
};

void BridgeTest::edgeMapEqualsTheEngines() {
  // Gray, colour, and an odd width where a padded row would show.
  for (const char *name :
       {"FirstPicViewController", "ThirdPicViewController", "FourthViewController"}) {
    const auto screen = makeScreen(name);
    const QImage sample = imageNamed(screen->constants().picture);
    // Fractions a rounding on the way would lose, smoothing where the passes
    // count, and a pass count that is used truncated.
    const QImage map = applyAt(*screen, sample, 0.3172f, 0.9061f, 1.531f, 3.99f);
    QVERIFY2(isBlackAndWhiteEdgeMap(map), name);
    QCOMPARE(map, engineEdgeMap(sample, 0.3172f, 0.9061f, 1.531f, 3));
    QVERIFY(map != engineEdgeMap(sample, 0.3172f, 0.9061f, 1.531f, 4));
  }
}

void BridgeTest::repeatedAppliesLeaveNothingBehind() {
  // Each call draws afresh into its own memory; under valgrind this also
  // shows that nothing of a call stays allocated and no freed byte is read.
  const auto screen = makeScreen("SecondPicViewController");
  const QImage sample = imageNamed("secondPic").copy(100, 120, 97, 64);
  const QImage first = applyAt(*screen, sample, 1, 3, 1, 2);
  QCOMPARE(first, engineEdgeMap(sample, 1, 3, 1, 2));
  for (int i = 0; i < 20; ++i) QCOMPARE(screen->ManipulateImagePixelData(sample), first);
}

void BridgeTest::emptyPictureGivesNullAndOneMessage() {
  QFETCH(QString, screen);
  QFETCH(QByteArray, failureMessage);
  const auto controller = makeScreen(screen);
  for (const QImage &empty :
       {QImage(), QImage(0, 7, QImage::Format_RGB32), QImage(7, 0, QImage::Format_RGB32)}) {
    StandardErrorCapture standardError;
    QVERIFY(controller->ManipulateImagePixelData(empty).isNull());
    QCOMPARE(standardError.finish(), failureMessage.replace("%1", "Context not created!"));
  }
}

void BridgeTest::exhaustedMemoryGivesNullAndItsMessage() {
  QFETCH(QString, screen);
  QFETCH(QByteArray, failureMessage);
  const auto controller = makeScreen(screen);
  // One bit a pixel here, one byte a pixel in the bridge: 400 MB it cannot have.
  QImage huge(20000, 20000, QImage::Format_Mono);
  QVERIFY(!huge.isNull());
  QTemporaryFile errors;
  QVERIFY(errors.open());

  // The address space is cut in a child, so this process keeps its memory.
  const pid_t child = fork();
  QVERIFY(child >= 0);
  if (child == 0) {
    ::dup2(errors.handle(), 2);
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
      std::fclose(statm);
    }
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (64u << 20);
    const rlimit cut{limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &cut) != 0) _exit(2);
    const bool nothing = controller->ManipulateImagePixelData(huge).isNull();
    std::fflush(stderr);
    _exit(nothing ? 0 : 1);
  }
  int status = 0;
  QCOMPARE(waitpid(child, &status, 0), child);
  QVERIFY(WIFEXITED(status));
  QCOMPARE(WEXITSTATUS(status), 0);
  // The child wrote through a descriptor sharing this file's offset.
  QVERIFY(errors.seek(0));
  QCOMPARE(errors.readAll(), failureMessage.replace("%1", "Memory not allocated!"));
}

QTEST_MAIN(BridgeTest)
#include "bridge_test.moc"
