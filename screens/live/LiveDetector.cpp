#include "screens/live/LiveDetector.h"

#include <chrono>

#include <canny/canny.h>
#include "imaging/GrayBitmap.h"

std::shared_ptr<const std::vector<std::uint8_t>> grayBytesOf(const QImage &picture) {
  auto bytes = std::make_shared<std::vector<std::uint8_t>>(std::size_t(picture.width()) *
                                                           std::size_t(picture.height()));
  QImage gray = grayBitmapOver(bytes->data(), picture.width(), picture.height());
  drawGray(picture, gray);
  return bytes;
}

LiveDetector::LiveDetector(QObject *parent) : QObject(parent), _worker([this] { work(); }) {
  _glance.setSingleShot(true);
  _glance.setInterval(kGlanceMs);
  connect(&_glance, &QTimer::timeout, this, [this] { setSlow(true); });
}

LiveDetector::~LiveDetector() {
  {
    const std::lock_guard hold(_lock);
    _stopping = true;
    _waiting.reset();
  }
  _wake.notify_one();
  _worker.join();
}

void LiveDetector::detect(std::shared_ptr<const std::vector<std::uint8_t>> gray, int width,
                          int height, const EdgeSettings &settings) {
  {
    const std::lock_guard hold(_lock);
    _waiting = Job{++_newest, std::move(gray), width, height, settings};
  }
  _wake.notify_one();
  _busy = true;
  if (!_glance.isActive() && !_slow) _glance.start();
}

void LiveDetector::cancel() {
  {
    const std::lock_guard hold(_lock);
    _waiting.reset();
  }
  ++_newest;  // whatever is under way now answers a question nobody asks
  _busy = false;
  _glance.stop();
  setSlow(false);
}

void LiveDetector::work() {
  // The worker's own detector and buffer, kept from one run to the next.
  canny::Detector detector;
  std::vector<std::uint8_t> bytes;
  for (;;) {
    Job job;
    {
      std::unique_lock hold(_lock);
      _wake.wait(hold, [this] { return _stopping || _waiting.has_value(); });
      if (_stopping) return;
      job = std::move(*_waiting);
      _waiting.reset();
    }
    bytes.assign(job.gray->begin(), job.gray->end());
    job.gray.reset();
    const auto start = std::chrono::steady_clock::now();
    const EdgeSettings &s = job.settings;
    const canny::ImageView view{bytes.data(), job.width, job.height, job.width};
    const bool done = detector.detect({bytes.data(), job.width, job.height, job.width}, view,
                                      {s.t1, s.t2, s.sigma, s.steps}) == canny::Status::ok;
    const auto took = std::chrono::steady_clock::now() - start;
    const QImage edgeMap =
        done ? grayBitmapOver(bytes.data(), job.width, job.height).copy() : QImage();
    const qint64 nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(took).count();
    // Queued to this object: should it be gone by then, Qt drops the call.
    QMetaObject::invokeMethod(
        this,
        [this, generation = job.generation, edgeMap, s, nanoseconds] {
          deliver(generation, edgeMap, s, nanoseconds);
        },
        Qt::QueuedConnection);
  }
}

void LiveDetector::deliver(std::uint64_t generation, const QImage &edgeMap,
                           const EdgeSettings &settings, qint64 nanoseconds) {
  if (generation != _newest) {
    // Outrun by a newer request: that one is on its way, and a result showed
    // up, so the wait starts over.
    if (_busy && !_slow) _glance.start();
    return;
  }
  _busy = false;
  _glance.stop();
  setSlow(false);
  emit detected(edgeMap, settings, nanoseconds);
}

void LiveDetector::setSlow(bool slow) {
  if (_slow == slow) return;
  _slow = slow;
  emit slowChanged(slow);
}
