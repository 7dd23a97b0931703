#include "screens/live/LiveDetector.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <new>

#include <canny/canny.h>
#include "imaging/GrayBitmap.h"

namespace {
// How much less the worker counts than the window's thread for the scheduler.
constexpr int kNiceness = 5;
}  // namespace

std::shared_ptr<const std::vector<std::uint8_t>> grayBytesOf(const QImage &picture) {
  auto bytes = std::make_shared<std::vector<std::uint8_t>>(std::size_t(picture.width()) *
                                                           std::size_t(picture.height()));
  QImage gray = grayBitmapOver(bytes->data(), picture.width(), picture.height());
  drawGray(picture, gray);
  return bytes;
}

QImage detectEdgeMap(canny::Detector &detector, const std::vector<std::uint8_t> &gray, int width,
                     int height, const EdgeSettings &s, qint64 *nanoseconds) {
  QImage edgeMap(width, height, QImage::Format_Grayscale8);
  if (edgeMap.isNull()) return {};
  const auto start = std::chrono::steady_clock::now();
  const bool done = detector.detect({gray.data(), width, height, width},
                                    {edgeMap.bits(), width, height, edgeMap.bytesPerLine()},
                                    {s.t1, s.t2, s.sigma, s.steps}) == canny::Status::ok;
  const auto took = std::chrono::steady_clock::now() - start;
  if (nanoseconds)
    *nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(took).count();
  return done ? edgeMap : QImage();
}

LiveDetector::LiveDetector(QObject *parent) : QObject(parent), _worker([this] { workLoop(); }) {
  _glance.setSingleShot(true);
  _glance.setInterval(kGlanceMs);
  connect(&_glance, &QTimer::timeout, this, [this] { setSlow(true); });
}

LiveDetector::~LiveDetector() {
  {
    const std::lock_guard hold(_lock);
    _stopping = true;
    _waiting.reset();
    _outrun = true;
  }
  _wake.notify_one();
  _worker.join();
}

void LiveDetector::run(Work work) {
  {
    const std::lock_guard hold(_lock);
    _waiting = Job{++_newest, std::move(work)};
    _preparation = nullptr;
    _outrun = true;
  }
  _wake.notify_one();
  _busy = true;
  if (!_glance.isActive() && !_slow) _glance.start();
}

void LiveDetector::detect(std::shared_ptr<const std::vector<std::uint8_t>> gray, int width,
                          int height, const EdgeSettings &settings) {
  run([this, gray = std::move(gray), width, height, settings](canny::Detector &detector) {
    qint64 nanoseconds = 0;
    const QImage edgeMap = detectEdgeMap(detector, *gray, width, height, settings, &nanoseconds);
    return
        [this, edgeMap, settings, nanoseconds] { emit detected(edgeMap, settings, nanoseconds); };
  });
}

void LiveDetector::prepare(Preparation work) {
  {
    const std::lock_guard hold(_lock);
    _preparation = std::move(work);
  }
  _wake.notify_one();
}

void LiveDetector::cancel() {
  {
    const std::lock_guard hold(_lock);
    _waiting.reset();
  }
  ++_newest;  // whatever is under way now answers a question nobody asks
  const bool wasBusy = _busy;
  _busy = false;
  _glance.stop();
  setSlow(false);
  if (wasBusy) emit idle();
}

void LiveDetector::workLoop() {
  // Yields to the window's thread when the processors are scarce; the
  // detector's helper threads, started from here, inherit it.
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  if (errno == 0) setpriority(PRIO_PROCESS, ::gettid(), nice + kNiceness);
  // The worker's own detector, its memory kept from one run to the next.
  canny::Detector detector;
  for (;;) {
    Job job;
    Preparation preparation;
    {
      std::unique_lock hold(_lock);
      _wake.wait(hold, [this] { return _stopping || _waiting || _preparation; });
      if (_stopping) return;
      if (_waiting) {
        job = std::move(*_waiting);
        _waiting.reset();
      } else {
        preparation = std::move(_preparation);
        _preparation = nullptr;
        _outrun = false;
      }
    }
    if (preparation) {
      try {
        preparation(_outrun);
      } catch (const std::bad_alloc &) {
        // Unprepared, the work to come does it itself.
      }
      continue;
    }
    Answer answer;
    try {
      answer = job.work(detector);
    } catch (const std::bad_alloc &) {
      // Work that found no memory answers nothing; the request still ends.
    }
    // Queued to this object: should it be gone by then, Qt drops the call.
    QMetaObject::invokeMethod(
        this, [this, generation = job.generation, answer] { deliver(generation, answer); },
        Qt::QueuedConnection);
  }
}

void LiveDetector::deliver(std::uint64_t generation, const Answer &answer) {
  if (generation != _newest) {
    // Outrun by a newer request: that one is on its way, and an answer
    // showed up, so the wait starts over.
    if (_busy && !_slow) _glance.start();
    return;
  }
  _busy = false;
  _glance.stop();
  setSlow(false);
  if (answer) answer();
  if (!_busy) emit idle();  // unless the answer asked for more
}

void LiveDetector::setSlow(bool slow) {
  if (_slow == slow) return;
  _slow = slow;
  emit slowChanged(slow);
}
