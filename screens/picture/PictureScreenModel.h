#pragma once
// A picture screen's state without its widgets: the picture Apply starts
// from, the settings, the stage chosen, what is shown (the picture or a
// result) and the work under way for it. Every slow step (the gray drawing,
// detection, stages, suggestions) runs on the screen's worker, the newest
// request winning; the widgets watch the signals and ask for work.
#include <QImage>
#include <QObject>
#include <memory>

#include "imaging/EdgeMap.h"
#include "imaging/EdgeStages.h"
#include "imaging/PixelAnalysis.h"
#include "screens/live/LiveDetector.h"
#include "screens/picture/ThresholdSuggestion.h"

class GrayBitmapContext;

// A detector result as the screen shows it.
struct PictureResult {
  QImage picture;  // what it was found in
  QImage edgeMap;  // null when none could be made
  EdgeSettings settings{};
  EdgeStage stage = EdgeStage::kEdgeMap;
  // The map or the stage as 8-bit gray, what Save and Copy give; null with the map.
  QImage stageImage;
  float white = 255.0f;  // the value drawn white in a magnitude stage
  // What the view shows: stageImage, or the edges over the picture.
  QImage shown;
  qint64 nanoseconds = 0;  // the detector's own time
  qint64 edgePixels = 0;
  // Every pixel's values and class at these settings; null until worked out,
  // and for pictures too large to analyse.
  std::shared_ptr<const PixelAnalysis> analysis;
};

// The bridge's gray surface for `image`: its failure written to standard
// error when `reportsFailures`.
std::unique_ptr<GrayBitmapContext> grayContextFor(const QImage &image, bool reportsFailures);

class PictureScreenModel : public QObject {
  Q_OBJECT

 public:
  // `detector` runs Apply's detection, over the bridge's gray surface.
  PictureScreenModel(DetectorFunction detector, bool reportsFailures, QObject *parent = nullptr);

  // The picture Apply starts from; setting it shows nothing by itself. While
  // a large one is looked at (new, or after an Apply), the worker readies the
  // detector's memory and the next Apply's gray surface for it.
  const QImage &picture() const { return _picture; }
  void setPicture(const QImage &picture);
  // Whether the next Apply's surface is ready for the picture.
  bool hasReadySurface() const;
  const EdgeSettings &settings() const { return _settings; }
  void setSettings(const EdgeSettings &settings);
  // The stage a result shows; changing it while one is shown shows it anew.
  EdgeStage stage() const { return _stage; }
  void setStage(EdgeStage stage);
  // Whether the edge map is drawn over the picture.
  bool overlay() const { return _overlay; }
  void setOverlay(bool overlay);

  // Whether a result is shown rather than the picture, and which.
  bool showsResult() const { return _showsResult; }
  const PictureResult &result() const { return _result; }
  // The shown result's pixel analysis: it follows the result off the
  // window's thread (with it, for the classes stage); null meanwhile.
  const std::shared_ptr<const PixelAnalysis> &analysis() const { return _result.analysis; }

  // Shows the picture: work under way is dropped.
  void showPicture();
  // Apply: the picture drawn into a fresh gray surface and the screen's
  // detector run over it, at the settings of this moment.
  void apply();
  // The same map by the worker's own detector, the picture's gray bytes kept
  // while the picture stays: for settings that change under a dragged slider.
  void detectLive();
  // A map found elsewhere, shown as Apply's would be.
  void showEdgeMap(const QImage &picture, const QImage &edgeMap, const EdgeSettings &settings,
                   qint64 nanoseconds);
  // T1, T2 and the smoothing they need from the picture's thinned magnitudes,
  // starting from the settings' smoothing (see suggestSettings).
  void suggestThresholds(ValueRange t1Range, ValueRange t2Range, ValueRange sigmaRange);
  // Reads the picture file at `path` on the worker: fileOpened or fileRefused.
  void openFile(const QString &path);

  LiveDetector &worker() { return _worker; }
  bool isBusy() const { return _worker.isBusy(); }
  bool isSlow() const { return _worker.isSlow(); }

 signals:
  void pictureShown(const QImage &picture);
  void resultShown();
  void settingsChanged();
  void thresholdsSuggested(float t1, float t2, float sigma, int steps);
  void noThresholdsFound();
  void fileOpened(const QImage &picture, const QString &path);
  // `error` names the file and what was wrong with it.
  void fileRefused(const QString &error);
  void slowChanged(bool slow);
  // analysis() is another one now.
  void analysisChanged();
  // Nothing asked for is under way any more.
  void idle();

 private:
  struct GrayCache;
  class ReadySurface;
  struct AnalysisCache;
  // Readies the worker, while nothing is asked, for an Apply on a large picture.
  void readyForApply();
  // Finishes `result` on the worker as the stage and overlay of this moment ask.
  LiveDetector::Work finishing(PictureResult result);
  void show(const PictureResult &result);
  // Asks the worker for the shown result's analysis, unless it has one.
  void analyseShown();

  DetectorFunction _detector;
  bool _reportsFailures;
  QImage _picture;
  EdgeSettings _settings{};
  EdgeStage _stage = EdgeStage::kEdgeMap;
  bool _overlay = false;
  bool _showsResult = false;
  PictureResult _result;
  std::shared_ptr<GrayCache> _gray;  // the worker's alone
  std::shared_ptr<ReadySurface> _ready;
  std::shared_ptr<AnalysisCache> _analysed;  // the worker's alone
  LiveDetector _worker;                      // last: it stops before the rest goes
};
