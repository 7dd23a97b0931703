#include "screens/picture/PictureScreenModel.h"

#include <canny/canny.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "imaging/EdgeOverlay.h"
#include "imaging/GrayBitmap.h"
#include "imaging/GrayBitmapContext.h"
#include "screens/picture/PictureFiles.h"

namespace {
// Pictures from this size up have the detector's memory and Apply's surface
// readied before an Apply; below it, their fresh pages cost that Apply little.
constexpr qint64 kPreparedFromPixels = 4'000'000;

qint64 countEdgePixels(const QImage &edgeMap) {
  qint64 edges = 0;
  for (int y = 0; y < edgeMap.height(); ++y) {
    const uchar *row = edgeMap.constScanLine(y);
    edges += std::count(row, row + edgeMap.width(), uchar(255));
  }
  return edges;
}

PictureResult resultOf(const QImage &picture, const EdgeSettings &settings, EdgeStage stage) {
  PictureResult result;
  result.picture = picture;
  result.settings = settings;
  result.stage = stage;
  return result;
}

// The stage, the overlay and the count for a result whose map is found;
// `analysed` is the analysis made last, whose gradients may serve again.
void finish(PictureResult &r, bool overlay, std::shared_ptr<const PixelAnalysis> &analysed) {
  r.white = 255.0f;
  r.stageImage = r.edgeMap;
  r.shown = r.edgeMap;
  if (r.edgeMap.isNull()) return;  // a failed detection empties the view
  r.edgePixels = countEdgePixels(r.edgeMap);
  if (r.stage == EdgeStage::kHysteresisClasses) {
    r.analysis = analysePixels(r.picture, r.settings, analysed);
    if (r.analysis) analysed = r.analysis;
    r.stageImage = r.analysis ? drawClasses(*r.analysis) : QImage();
    r.shown = r.stageImage;
  } else if (r.stage != EdgeStage::kEdgeMap) {
    StagePicture stage = computeStage(r.picture, r.settings, r.stage);
    r.stageImage = std::move(stage.image);
    r.white = stage.white;
    r.shown = r.stageImage;
  } else if (overlay) {
    const QImage over = overlayEdges(r.picture, r.edgeMap);
    if (!over.isNull()) r.shown = over;
  }
}
}  // namespace

// The gray bytes of the picture worked on last, kept while it stays: drawn
// once, they serve every Apply and live detection after.
struct PictureScreenModel::GrayCache {
  qint64 key = 0;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;

  const std::vector<std::uint8_t> &of(const QImage &picture) {
    if (!bytes || key != picture.cacheKey()) {
      bytes.reset();  // the old picture's bytes go before the new ones come
      bytes = grayBytesOf(picture);
      key = picture.cacheKey();
    }
    return *bytes;
  }
};

// The next Apply's gray surface, made and filled on the worker while nothing is
// asked, for the picture shown; the picture changing drops it. It keeps one
// surface-sized block (a quarter of the picture's own) between Applies, so that
// a large Apply does not fault in and fill a fresh block at the click.
class PictureScreenModel::ReadySurface {
 public:
  // The picture shown now (window's thread): a surface for another goes.
  void expect(qint64 key) {
    std::unique_ptr<GrayBitmapContext> old;
    const std::lock_guard hold(_lock);
    if (key == _key) return;
    _key = key;
    old = std::move(_surface);  // freed once the lock is let go
  }

  // The surface for `picture`, if one is ready; the caller makes one otherwise.
  std::unique_ptr<GrayBitmapContext> take(const QImage &picture) {
    const std::lock_guard hold(_lock);
    if (picture.cacheKey() != _key) return nullptr;
    return std::move(_surface);
  }

  bool isReady() {
    const std::lock_guard hold(_lock);
    return _surface != nullptr;
  }

  // Makes and fills one for `picture` (worker), unless there is one or `stop` is set first.
  void make(const QImage &picture, GrayCache &gray, const std::atomic<bool> &stop) {
    {
      const std::lock_guard hold(_lock);
      if (picture.cacheKey() != _key || _surface) return;
    }
    if (stop) return;
    const std::vector<std::uint8_t> &bytes = gray.of(picture);
    std::unique_ptr<GrayBitmapContext> surface =
        stop ? nullptr : GrayBitmapContext::create(picture.width(), picture.height());
    if (!surface) return;
    // In slices, so that a request waits for one slice at most.
    constexpr std::size_t kSlice = std::size_t(4) << 20;
    for (std::size_t at = 0; at < bytes.size(); at += kSlice) {
      if (stop) return;
      std::memcpy(surface->data() + at, bytes.data() + at, std::min(kSlice, bytes.size() - at));
    }
    const std::lock_guard hold(_lock);
    if (picture.cacheKey() == _key) _surface = std::move(surface);
  }

 private:
  std::mutex _lock;
  qint64 _key = 0;
  std::unique_ptr<GrayBitmapContext> _surface;
};

// The pixel analysis made last on the worker.
struct PictureScreenModel::AnalysisCache {
  std::shared_ptr<const PixelAnalysis> last;
};

std::unique_ptr<GrayBitmapContext> grayContextFor(const QImage &image, bool reportsFailures) {
  QString failure;
  auto context = GrayBitmapContext::create(image.width(), image.height(), &failure);
  if (!context && reportsFailures) {
    const QByteArray message = failure.toLatin1();
    std::fwrite(message.constData(), 1, std::size_t(message.size()), stderr);
  }
  return context;
}

PictureScreenModel::PictureScreenModel(DetectorFunction detector, bool reportsFailures,
                                       QObject *parent)
    : QObject(parent),
      _detector(std::move(detector)),
      _reportsFailures(reportsFailures),
      _gray(std::make_shared<GrayCache>()),
      _ready(std::make_shared<ReadySurface>()),
      _analysed(std::make_shared<AnalysisCache>()) {
  connect(&_worker, &LiveDetector::slowChanged, this, &PictureScreenModel::slowChanged);
  connect(&_worker, &LiveDetector::idle, this, &PictureScreenModel::idle);
}

void PictureScreenModel::setPicture(const QImage &picture) {
  const bool another = picture.cacheKey() != _picture.cacheKey();
  _picture = picture;
  _ready->expect(picture.cacheKey());
  if (another) readyForApply();
}

bool PictureScreenModel::hasReadySurface() const { return _ready->isReady(); }

void PictureScreenModel::readyForApply() {
  if (qint64(_picture.width()) * _picture.height() < kPreparedFromPixels) return;
  // Fresh, the memory Apply takes would cost a large Apply as much as the
  // detection itself; a request meanwhile stops the readying.
  _worker.prepare(
      [picture = _picture, cache = _gray, ready = _ready](const std::atomic<bool> &stop) {
        canny::prepareMemory(picture.width(), picture.height(), &stop);
        ready->make(picture, *cache, stop);
      });
}

void PictureScreenModel::setSettings(const EdgeSettings &settings) {
  if (settings == _settings) return;
  _settings = settings;
  emit settingsChanged();
}

void PictureScreenModel::setStage(EdgeStage stage) {
  if (stage == _stage) return;
  _stage = stage;
  if (_showsResult) _worker.run(finishing(_result));
}

void PictureScreenModel::setOverlay(bool overlay) {
  if (overlay == _overlay) return;
  _overlay = overlay;
  // While the picture itself is shown there is nothing to draw over it.
  if (_showsResult) _worker.run(finishing(_result));
}

void PictureScreenModel::showPicture() {
  _worker.cancel();
  _showsResult = false;
  const bool hadAnalysis = _result.analysis != nullptr;
  _result = {};
  emit pictureShown(_picture);
  if (hadAnalysis) emit analysisChanged();
}

LiveDetector::Work PictureScreenModel::finishing(PictureResult result) {
  result.stage = _stage;
  return [this, result, overlay = _overlay, cache = _analysed](canny::Detector &) mutable {
    finish(result, overlay, cache->last);
    return [this, result] { show(result); };
  };
}

void PictureScreenModel::apply() {
  PictureResult result = resultOf(_picture, _settings, _stage);
  _worker.run([this, result, overlay = _overlay, detector = _detector, reports = _reportsFailures,
               cache = _gray, ready = _ready, analysed = _analysed](canny::Detector &) mutable {
    // Only the detector's own time is reported, not the drawing around it.
    const DetectorFunction timed = [&](float t1, float t2, float sigma, std::int32_t steps,
                                       std::int32_t width, std::int32_t height,
                                       std::uint8_t *data) {
      const auto start = std::chrono::steady_clock::now();
      const bool done = detector(t1, t2, sigma, steps, width, height, data);
      result.nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
      return done;
    };
    // A surface readied for this picture holds its gray bytes already.
    std::unique_ptr<GrayBitmapContext> context = ready->take(result.picture);
    if (!context && (context = grayContextFor(result.picture, reports))) {
      // The bytes drawGray() gives, drawn once per picture rather than on every
      // Apply; drawn into the surface alone when there is no memory to keep them.
      try {
        const std::vector<std::uint8_t> &gray = cache->of(result.picture);
        std::memcpy(context->data(), gray.data(), gray.size());
      } catch (const std::bad_alloc &) {
        drawGray(result.picture, context->bitmap());
      }
    }
    if (context) {
      const EdgeSettings &s = result.settings;
      if (timed(s.t1, s.t2, s.sigma, s.steps, context->width(), context->height(), context->data()))
        result.edgeMap = context->takeBitmap();
    }
    finish(result, overlay, analysed->last);
    return [this, result] {
      show(result);
      readyForApply();  // for the next Apply, while the map is looked at
    };
  });
}

void PictureScreenModel::detectLive() {
  if (_picture.isNull()) return;
  PictureResult result = resultOf(_picture, _settings, _stage);
  _worker.run([this, result, overlay = _overlay, cache = _gray,
               analysed = _analysed](canny::Detector &detector) mutable {
    const QImage &picture = result.picture;
    result.edgeMap = detectEdgeMap(detector, cache->of(picture), picture.width(), picture.height(),
                                   result.settings, &result.nanoseconds);
    finish(result, overlay, analysed->last);
    return [this, result] { show(result); };
  });
}

void PictureScreenModel::showEdgeMap(const QImage &picture, const QImage &edgeMap,
                                     const EdgeSettings &settings, qint64 nanoseconds) {
  PictureResult result = resultOf(picture, settings, _stage);
  result.edgeMap = edgeMap;
  result.nanoseconds = nanoseconds;
  _worker.run(finishing(result));
}

void PictureScreenModel::suggestThresholds(ValueRange t1Range, ValueRange t2Range,
                                           ValueRange sigmaRange) {
  if (_picture.isNull()) return;
  _worker.run([this, picture = _picture, settings = _settings, t1Range, t2Range,
               sigmaRange](canny::Detector &) -> LiveDetector::Answer {
    const auto suggestion =
        suggestSettings(picture, settings.sigma, settings.steps, t1Range, t2Range, sigmaRange);
    if (!suggestion) return [this] { emit noThresholdsFound(); };
    return [this, s = *suggestion] { emit thresholdsSuggested(s.t1, s.t2, s.sigma, s.steps); };
  });
}

void PictureScreenModel::openFile(const QString &path) {
  _worker.run([this, path, cache = _gray](canny::Detector &) -> LiveDetector::Answer {
    const OpenedPicture opened = openPictureFile(path);
    if (opened.image.isNull()) return [this, error = opened.error] { emit fileRefused(error); };
    try {
      cache->of(opened.image);  // ready for the first Apply
    } catch (const std::bad_alloc &) {
      // Opened all the same: Apply draws the gray bytes itself.
    }
    return [this, path, picture = opened.image] { emit fileOpened(picture, path); };
  });
}

void PictureScreenModel::show(const PictureResult &result) {
  const bool analysisChanges = result.analysis != _result.analysis;
  _result = result;
  _showsResult = true;
  emit resultShown();
  if (analysisChanges) emit analysisChanged();
  analyseShown();
}

void PictureScreenModel::analyseShown() {
  const PictureResult &r = _result;
  if (r.analysis || r.edgeMap.isNull() ||
      qint64(r.picture.width()) * r.picture.height() > kMaxAnalysedPixels)
    return;
  _worker.run([this, picture = r.picture, settings = r.settings,
               cache = _analysed](canny::Detector &) -> LiveDetector::Answer {
    auto analysis = analysePixels(picture, settings, cache->last);
    if (!analysis) return {};
    cache->last = analysis;
    return [this, analysis] {
      // Nothing newer was asked meanwhile, so the result is still the one analysed.
      _result.analysis = analysis;
      emit analysisChanged();
    };
  });
}
