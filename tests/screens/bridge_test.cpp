// The gray bitmap bridge: picture to gray bytes, the detector through the
// delegate with the sliders' values, and the edge map back as a picture.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QtTest>
#include <memory>

#include "app/AppDelegate.h"
#include "imaging/GrayBitmapContext.h"
#include "imaging/StandardErrorCapture.h"
#include "screens/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
void addScreens() {
  QTest::addColumn<QString>("screen");
  QTest::addColumn<QByteArray>("failureMessage");
  QTest::newRow("first") << "FirstPicViewController" << QByteArray();
  QTest::newRow("second") << "SecondPicViewController" << QByteArray("Context not created!");
  QTest::newRow("third") << "ThirdPicViewController" << QByteArray("Context not created!");
  QTest::newRow("fourth") << "FourthViewController" << QByteArray("Context not created!");
  QTest::newRow("fifth") << "FifthViewController" << QByteArray("Context not created!");
}

QImage applyAt(PictureViewController &screen, const QImage &picture, float t1, float t2,
               float sigma, float steps) {
  screen.sliderT1()->setValue(t1);
  screen.sliderT2()->setValue(t2);
  screen.sliderSigma()->setValue(sigma);
  screen.sliderSteps()->setValue(steps);
  return screen.ManipulateImagePixelData(picture);
}
}  // namespace

class BridgeTest : public QObject {
  Q_OBJECT

 private slots:
  void surfaceHasWidthBytesARow();
  void edgeMapEqualsTheEngines_data();
  void edgeMapEqualsTheEngines();
  void stepsAreTruncatedTowardZero();
  void repeatedAppliesLeaveNothingBehind();
  void emptyPictureGivesNullAndOneMessage_data();
  void emptyPictureGivesNullAndOneMessage();
  void exhaustedMemoryGivesNullAndItsMessage_data();
  void exhaustedMemoryGivesNullAndItsMessage();

 private:
  AppDelegate _delegate;  // the running delegate the bridge calls
};

void BridgeTest::surfaceHasWidthBytesARow() {
  // An odd width, where a padded row would show.
  const auto screen = makeScreen("FourthViewController");
  const auto context = screen->CreateGrayScaleBitmapContext(QImage(451, 3, QImage::Format_RGB32));
  QVERIFY(context);
  QCOMPARE(context->bitmap().format(), QImage::Format_Grayscale8);
  QCOMPARE(context->bitmap().size(), QSize(451, 3));
  QCOMPARE(context->bitmap().bytesPerLine(), 451);
  QCOMPARE(context->bitmap().constBits(), context->data());
  QCOMPARE(context->bitmap().constScanLine(2), context->data() + 2 * 451);
}

void BridgeTest::edgeMapEqualsTheEngines_data() {
  QTest::addColumn<QString>("screen");
  QTest::addColumn<QString>("picture");
  QTest::newRow("first, gray") << "FirstPicViewController"
                               << "firstPic.png";
  QTest::newRow("second, colour") << "SecondPicViewController"
                                  << "secondPic";
  QTest::newRow("third, colour") << "ThirdPicViewController"
                                 << "thirdPic";
  QTest::newRow("fourth, odd width") << "FourthViewController"
                                     << "fourthPic";
}

void BridgeTest::edgeMapEqualsTheEngines() {
  QFETCH(QString, screen);
  QFETCH(QString, picture);
  const auto controller = makeScreen(screen);
  const QImage sample = imageNamed(picture);
  QVERIFY(!sample.isNull());

  // At the start values, untouched.
  const QImage atStart = controller->ManipulateImagePixelData(sample);
  QCOMPARE(atStart.size(), sample.size());
  QVERIFY(isBlackAndWhiteEdgeMap(atStart));
  QCOMPARE(atStart,
           engineEdgeMap(sample, controller->sliderT1()->value(), controller->sliderT2()->value(),
                         controller->sliderSigma()->value(),
                         std::int32_t(controller->sliderSteps()->value())));

  // Fractions a rounding on the way would lose, and smoothing, where the
  // passes count.
  const QImage smoothed = applyAt(*controller, sample, 0.3172f, 0.9061f, 1.531f, 3.0f);
  QVERIFY(isBlackAndWhiteEdgeMap(smoothed));
  QCOMPARE(smoothed, engineEdgeMap(sample, 0.3172f, 0.9061f, 1.531f, 3));
  QVERIFY(smoothed != atStart);
}

void BridgeTest::stepsAreTruncatedTowardZero() {
  const auto screen = makeScreen("ThirdPicViewController");
  const QImage sample = imageNamed("thirdPic");
  const QImage threePasses = engineEdgeMap(sample, 2, 6, 2, 3);
  QVERIFY(threePasses != engineEdgeMap(sample, 2, 6, 2, 4));
  QCOMPARE(applyAt(*screen, sample, 2, 6, 2, 3.99f), threePasses);
  QCOMPARE(applyAt(*screen, sample, 2, 6, 2, 0.99f), engineEdgeMap(sample, 2, 6, 2, 0));
}

void BridgeTest::repeatedAppliesLeaveNothingBehind() {
  // Each call draws afresh into its own memory; run under valgrind this also
  // shows that nothing of a call stays allocated and no freed byte is read.
  const auto screen = makeScreen("SecondPicViewController");
  const QImage sample = imageNamed("secondPic").copy(100, 120, 96, 64);
  const QImage first = applyAt(*screen, sample, 1, 3, 1, 2);
  QVERIFY(isBlackAndWhiteEdgeMap(first));
  for (int i = 0; i < 20; ++i) QCOMPARE(screen->ManipulateImagePixelData(sample), first);
}

void BridgeTest::emptyPictureGivesNullAndOneMessage_data() { addScreens(); }

void BridgeTest::emptyPictureGivesNullAndOneMessage() {
  QFETCH(QString, screen);
  QFETCH(QByteArray, failureMessage);
  const auto controller = makeScreen(screen);
  for (const QImage &empty :
       {QImage(), QImage(0, 7, QImage::Format_RGB32), QImage(7, 0, QImage::Format_RGB32)}) {
    StandardErrorCapture standardError;
    const QImage result = controller->ManipulateImagePixelData(empty);
    QCOMPARE(standardError.finish(), failureMessage);
    QVERIFY(result.isNull());
  }
}

void BridgeTest::exhaustedMemoryGivesNullAndItsMessage_data() {
  QTest::addColumn<QString>("screen");
  QTest::addColumn<QByteArray>("failureMessage");
  QTest::newRow("first, silent") << "FirstPicViewController" << QByteArray();
  QTest::newRow("second") << "SecondPicViewController" << QByteArray("Memory not allocated!");
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
  QCOMPARE(errors.readAll(), failureMessage);
}

QTEST_MAIN(BridgeTest)
#include "bridge_test.moc"
