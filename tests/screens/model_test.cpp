// A picture screen's model without widgets: real pictures through the real detector on the
// worker, the newest request alone answered, stages and suggestions as the plain functions give.
#include <QtTest>

#include <algorithm>
#include <atomic>

#include "imaging/EdgeOverlay.h"
#include "screens/picture/PictureScreenModel.h"
#include "screens/widgets/ImageNamed.h"

namespace {
// Waits for the model to finish what it was asked.
bool finished(const PictureScreenModel &model) {
  return QTest::qWaitFor([&] { return !model.isBusy(); }, 60000);
}
}  // namespace

class ModelTest : public QObject {
  Q_OBJECT

 private slots:
  void newestRequestAloneIsAnsweredWithStagesAndOverlay() {
    PictureScreenModel model(tryCannyEdgeDetector, false);
    QSignalSpy results(&model, &PictureScreenModel::resultShown);
    const QImage sample = imageNamed("secondPic");
    model.setPicture(sample);
    const EdgeSettings first{1, 3, 0, 0}, last{2, 6, 1.5f, 2};
    model.setSettings(first);
    model.apply();
    model.setSettings(last);
    model.detectLive();  // the worker's detector gives Apply's map
    QVERIFY(model.isBusy() && finished(model));
    QCOMPARE(results.count(), 1);
    const QImage map = edgeMap(sample, last);
    const PictureResult &r = model.result();
    QVERIFY(r.settings == last && r.edgeMap == map && r.shown == map && r.stageImage == map);
    QCOMPARE(r.edgePixels, std::count(map.constBits(), map.constBits() + map.sizeInBytes(), 255));
    model.apply();
    QVERIFY(finished(model));
    QVERIFY(model.result().edgeMap == map && model.result().nanoseconds > 0);

    // A stage and the overlay are worked out for the result shown.
    model.setStage(EdgeStage::kGradientMagnitude);
    QVERIFY(finished(model));
    const StagePicture magnitude = computeStage(sample, last, EdgeStage::kGradientMagnitude);
    QCOMPARE(model.result().shown, magnitude.image);
    QCOMPARE(model.result().white, magnitude.white);
    model.setStage(EdgeStage::kEdgeMap);
    model.setOverlay(true);
    QVERIFY(finished(model));
    QCOMPARE(model.result().shown, overlayEdges(sample, map));
    QCOMPARE(model.result().stageImage, map);

    // The result's pixel analysis follows it, and the classes stage draws it.
    const std::shared_ptr<const PixelAnalysis> analysis = model.analysis();
    QVERIFY(analysis && analysis->settings == last);
    model.setStage(EdgeStage::kHysteresisClasses);
    QVERIFY(finished(model));
    QCOMPARE(model.analysis(), analysis);
    QCOMPARE(model.result().shown, drawClasses(*analysis));

    // Showing the picture drops the work under way.
    QSignalSpy pictures(&model, &PictureScreenModel::pictureShown);
    results.clear();
    model.apply();
    model.showPicture();
    QVERIFY(!model.isBusy() && !model.showsResult() && pictures.count() == 1 && !model.analysis());
    QTest::qWait(300);
    QCOMPARE(results.count(), 0);
  }

  // Work readied in the background never shows as busy and gives way to a request at once.
  void preparationsYieldToRequests() {
    LiveDetector worker;
    std::atomic<bool> started = false, stopped = false;
    worker.prepare([&](const std::atomic<bool> &stop) {
      started = true;
      const QDeadlineTimer patience(20000);
      while (!stop && !patience.hasExpired()) QThread::msleep(1);
      stopped = stop.load();
    });
    QVERIFY(!worker.isBusy());
    QTRY_VERIFY(started);
    bool answered = false;
    worker.run([&](canny::Detector &) -> LiveDetector::Answer { return [&] { answered = true; }; });
    QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
    QVERIFY(stopped);
  }

  // A large picture's next surface is readied, and not taken for another picture.
  void applyTakesOnlyTheShownPicturesReadySurface() {
    PictureScreenModel model(tryCannyEdgeDetector, false);
    const QImage first = imageNamed("secondPic").scaled(2000, 2000);
    const QImage second = first.mirrored(true, false);
    const EdgeSettings settings{2, 6, 1, 1};
    model.setSettings(settings);
    model.setPicture(first);
    QTRY_VERIFY_WITH_TIMEOUT(model.hasReadySurface(), 60000);
    // A surface kept from the first picture would give the first picture's map.
    model.setPicture(second);
    const QImage map = edgeMap(second, settings);
    for (int apply = 0; apply < 2; ++apply) {  // the second from a surface readied after the first
      model.apply();
      QVERIFY(finished(model));
      QCOMPARE(model.result().edgeMap, map);
      QTRY_VERIFY_WITH_TIMEOUT(model.hasReadySurface(), 60000);
    }
  }

  void pixelClassesAddUpToTheDetectorsMap() {
    for (const char *name : {"firstPic", "thirdPic"}) {
      const QImage sample = imageNamed(name);
      std::shared_ptr<const PixelAnalysis> previous;
      for (const EdgeSettings s :
           {EdgeSettings{2, 6, 2, 4}, EdgeSettings{0.5f, 1.5f, 2, 4}, EdgeSettings{1, 9, 0, 0}}) {
        const std::shared_ptr<const PixelAnalysis> a = analysePixels(sample, s, previous);
        QVERIFY(a && a->settings == s);
        const PixelGradients &g = *a->gradients;
        // Only the thresholds changed: the gradients serve again.
        QCOMPARE(previous && previous->gradients == a->gradients, s.sigma == 2.0f && previous);
        QCOMPARE(g.gray, *grayBytesOf(sample));
        QCOMPARE(g.smoothed, computeStage(sample, s, EdgeStage::kSmoothed).values);
        QCOMPARE(g.magnitude, computeStage(sample, s, EdgeStage::kGradientMagnitude).values);
        std::vector<float> thinned =
            computeStage(sample, {0, 0, s.sigma, s.steps}, EdgeStage::kThinnedMagnitude).values;
        std::erase(thinned, 0.0f);
        std::sort(thinned.begin(), thinned.end());
        QCOMPARE(g.thinned, thinned);

        const QImage map = edgeMap(sample, s);
        qint64 counts[4] = {}, wrong = 0;
        for (int y = 0; y < a->height(); ++y)
          for (int x = 0; x < a->width(); ++x) {
            const PixelFacts p = a->at(x, y);
            ++counts[int(p.pixelClass)];
            const bool kept =
                p.pixelClass == PixelClass::kStrong || p.pixelClass == PixelClass::kWeakKept;
            const bool weak =
                p.pixelClass == PixelClass::kWeakKept || p.pixelClass == PixelClass::kWeakDropped;
            wrong += kept != (map.constScanLine(y)[x] == 255) ||
                     (weak && !(p.magnitude >= s.t1 && p.magnitude < s.t2)) ||
                     (p.pixelClass == PixelClass::kStrong && !(p.magnitude >= s.t2));
          }
        QCOMPARE(wrong, 0);
        QVERIFY(std::equal(counts, counts + 4, a->counts) && counts[1] > 0 && counts[2] > 0);
        previous = a;
      }
    }
    QImage huge(8000, 2001, QImage::Format_Grayscale8);
    QVERIFY(!analysePixels(huge, {2, 6, 2, 4}) && !analysePixels(QImage(), {2, 6, 2, 4}));
  }

  void suggestionsAndFailuresAreSignalled() {
    bool detected = false;
    PictureScreenModel model(
        [&](float, float, float, std::int32_t, std::int32_t, std::int32_t, std::uint8_t *) {
          detected = true;
          return false;  // no working memory
        },
        false);
    const QImage sample = imageNamed("fourthPic");
    model.setPicture(sample);
    model.setSettings({2, 6, 0, 4});
    QSignalSpy suggested(&model, &PictureScreenModel::thresholdsSuggested);
    model.suggestThresholds({0, 10}, {0, 10}, {0, 60});
    QVERIFY(finished(model));
    const auto expected = suggestSettings(sample, 0, 4, {0, 10}, {0, 10}, {0, 60});
    QCOMPARE(suggested,
             QList<QVariantList>({{expected->t1, expected->t2, expected->sigma, expected->steps}}));

    QImage flat(40, 30, QImage::Format_Grayscale8);
    flat.fill(90);
    model.setPicture(flat);
    QSignalSpy none(&model, &PictureScreenModel::noThresholdsFound);
    model.suggestThresholds({0, 10}, {0, 10}, {0, 60});
    QVERIFY(finished(model));
    QCOMPARE(none.count(), 1);

    // Apply runs the detector it was given; its failure shows no map.
    model.apply();
    QVERIFY(finished(model));
    QVERIFY(detected && model.showsResult() && model.result().edgeMap.isNull());
    QVERIFY(model.result().shown.isNull());
  }
};

QTEST_MAIN(ModelTest)
#include "model_test.moc"
