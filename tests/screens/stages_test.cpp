// The detector's stages as the application shows them, checked against the
// independent reference detector's own steps.
#include <QtTest>
#include <cmath>
#include <vector>

#include "imaging/EdgeStages.h"
#include "imaging/GrayBitmap.h"
#include "tests/engine/reference/ReferenceDetector.h"

class StagesTest : public QObject {
  Q_OBJECT

 private slots:
  void stagesAreTheReferenceDetectorsSteps_data();
  void stagesAreTheReferenceDetectorsSteps();
};

namespace {
const QImage &samplePicture() {
  static const QImage picture(QStringLiteral(":/images/fourthPic.png"));
  return picture;
}

std::vector<uchar> grayBytes(const QImage &picture) {
  std::vector<uchar> bytes(std::size_t(picture.width()) * picture.height());
  QImage gray = grayBitmapOver(bytes.data(), picture.width(), picture.height());
  drawGray(picture, gray);
  return bytes;
}

// The stage's values equal `expected` to the bit, and its picture is each
// value times 255 / white, rounded.
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
}  // namespace

void StagesTest::stagesAreTheReferenceDetectorsSteps_data() {
  QTest::addColumn<float>("sigma");
  QTest::addColumn<int>("steps");
  QTest::addColumn<float>("t1");
  QTest::newRow("unsmoothed") << 0.0f << 4 << 2.0f;
  QTest::newRow("wide, one pass") << 7.5f << 1 << 5.0f;
}

void StagesTest::stagesAreTheReferenceDetectorsSteps() {
  QFETCH(float, sigma);
  QFETCH(int, steps);
  QFETCH(float, t1);
  const EdgeSettings settings{t1, 3 * t1, sigma, steps};
  const std::vector<uchar> gray = grayBytes(samplePicture());
  const reference::Stages expected = reference::stages(t1, sigma, steps, samplePicture().width(),
                                                       samplePicture().height(), gray.data());
  const float largest = *std::max_element(expected.magnitude.begin(), expected.magnitude.end());

  QVERIFY(showsExactly(computeStage(samplePicture(), settings, EdgeStage::kSmoothed),
                       expected.smoothed, 255.0f));
  QVERIFY(showsExactly(computeStage(samplePicture(), settings, EdgeStage::kGradientMagnitude),
                       expected.magnitude, largest));
  // The largest magnitude is a local maximum, so the scale is the same.
  QVERIFY(showsExactly(computeStage(samplePicture(), settings, EdgeStage::kThinnedMagnitude),
                       expected.thinned, largest));
}

QTEST_MAIN(StagesTest)
#include "stages_test.moc"
