#pragma once
// The screens' one worker for slow work: detection while a slider moves, Apply,
// stages and suggestions. One worker thread runs one piece of work at a time; a
// request replaces any still waiting, so the newest always wins, and an answer
// is delivered only while it is the newest one asked for: stale answers are
// dropped, never shown. A request that outlasts a glance turns the busy sign on.
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "imaging/EdgeStages.h"

namespace canny {
class Detector;
}

// `picture` as the detector's gray bytes, drawn as the screens' bridge draws it.
std::shared_ptr<const std::vector<std::uint8_t>> grayBytesOf(const QImage &picture);

class LiveDetector : public QObject {
  Q_OBJECT

 public:
  // How long a run may take before the user is shown that work is going on.
  static constexpr int kGlanceMs = 150;

  // What the work gives back to this object's thread; run there only while
  // its request is the newest.
  using Answer = std::function<void()>;
  // Work for the worker thread, with the worker's own detector (its memory
  // kept from one run to the next). It must copy, not share, what the
  // window's thread may change meanwhile.
  using Work = std::function<Answer(canny::Detector &detector)>;

  explicit LiveDetector(QObject *parent = nullptr);
  ~LiveDetector() override;

  // Asks for `work`: it replaces any request still waiting.
  void run(Work work);
  // Detects edges in `gray` (width * height bytes, rows of width bytes) at
  // `settings`, answered by detected(). The bytes are shared, not copied: they
  // must not change.
  void detect(std::shared_ptr<const std::vector<std::uint8_t>> gray, int width, int height,
              const EdgeSettings &settings);
  // Forgets every request: nothing asked for so far will be answered.
  void cancel();

  // Work for when nothing is asked, such as readying memory for the work to
  // come: it answers nothing and never makes the worker busy. A request drops
  // it, or, once under way, sets `stop`, which it heeds within moments; a
  // later preparation replaces one still waiting.
  using Preparation = std::function<void(const std::atomic<bool> &stop)>;
  void prepare(Preparation work);

  // How long a run may take before it counts as slow (kGlanceMs unless set).
  void setGlance(int milliseconds) { _glance.setInterval(milliseconds); }

  // Whether a request has not been answered yet.
  bool isBusy() const { return _busy; }
  // Whether the newest request has been waiting longer than a glance.
  bool isSlow() const { return _slow; }

 signals:
  // The edge map of the newest detect() (null when working memory ran out),
  // with how long the detector took.
  void detected(const QImage &edgeMap, const EdgeSettings &settings, qint64 nanoseconds);
  void slowChanged(bool slow);
  // The newest request was answered (after its answer ran) or cancelled.
  void idle();

 private:
  struct Job {
    std::uint64_t generation;
    Work work;
  };

  void workLoop();
  void deliver(std::uint64_t generation, const Answer &answer);
  void setSlow(bool slow);

  // Shared with the worker, under the lock.
  std::mutex _lock;
  std::condition_variable _wake;
  std::optional<Job> _waiting;
  Preparation _preparation;
  bool _stopping = false;
  // The running preparation's stop: set as a request or the end comes.
  std::atomic<bool> _outrun{false};

  // The window's thread's own.
  std::uint64_t _newest = 0;
  bool _busy = false;
  bool _slow = false;
  QTimer _glance;

  std::thread _worker;  // last, so it starts after everything it uses
};

// The edge map of `gray` at `settings` by `detector`, written straight into
// a new gray picture; null when memory ran out. `nanoseconds` gets the
// detector's time.
QImage detectEdgeMap(canny::Detector &detector, const std::vector<std::uint8_t> &gray, int width,
                     int height, const EdgeSettings &settings, qint64 *nanoseconds);
