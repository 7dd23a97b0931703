#pragma once
// Edge detection away from the GUI thread, for settings that change while the
// user drags a slider. One worker runs one detection at a time; a request
// replaces any still waiting, so the newest settings always win, and a result
// is reported only while it is the newest one asked for: stale results are
// dropped, never shown.
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "imaging/EdgeStages.h"

// `picture` as the detector's gray bytes, drawn as the screens' bridge draws it.
std::shared_ptr<const std::vector<std::uint8_t>> grayBytesOf(const QImage &picture);

class LiveDetector : public QObject {
  Q_OBJECT

 public:
  // How long a run may take before the user is shown that work is going on.
  static constexpr int kGlanceMs = 150;

  explicit LiveDetector(QObject *parent = nullptr);
  ~LiveDetector() override;

  // Detects edges in `gray` (width * height bytes, rows of width bytes) at
  // `settings`. The bytes are shared, not copied: they must not change.
  void detect(std::shared_ptr<const std::vector<std::uint8_t>> gray, int width, int height,
              const EdgeSettings &settings);
  // Forgets every request: nothing asked for so far will be reported.
  void cancel();

  // How long a run may take before it counts as slow (kGlanceMs unless set).
  void setGlance(int milliseconds) { _glance.setInterval(milliseconds); }

  // Whether a request has not been answered yet.
  bool isBusy() const { return _busy; }
  // Whether the newest request has been waiting longer than a glance.
  bool isSlow() const { return _slow; }

 signals:
  // The edge map of the newest request (null when working memory ran out),
  // with how long the detector took.
  void detected(const QImage &edgeMap, const EdgeSettings &settings, qint64 nanoseconds);
  void slowChanged(bool slow);

 private:
  struct Job {
    std::uint64_t generation;
    std::shared_ptr<const std::vector<std::uint8_t>> gray;
    int width, height;
    EdgeSettings settings;
  };

  void work();
  void deliver(std::uint64_t generation, const QImage &edgeMap, const EdgeSettings &settings,
               qint64 nanoseconds);
  void setSlow(bool slow);

  // Shared with the worker, under the lock.
  std::mutex _lock;
  std::condition_variable _wake;
  std::optional<Job> _waiting;
  bool _stopping = false;

  // The GUI thread's own.
  std::uint64_t _newest = 0;
  bool _busy = false;
  bool _slow = false;
  QTimer _glance;

  std::thread _worker;  // last, so it starts after everything it uses
};
