// How long the window's thread stops answering while a large picture is opened,
// applied, staged and suggested in the running application: a 10 ms heartbeat
// on that thread, and the longest gap between its beats in each step. Also
// Apply's click-to-map time. Measures; asserts nothing.
//
//   screen_gaps [PICTURE]   (an 8000 x 6000 JPEG made from a sample when none is given)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>

#include "app/AppDelegate.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/picture/PictureViewController.h"

namespace {
// The first colour sample (a portrait), three quarters of it scaled up to `size`
// as a camera of that many pixels would give it.
QImage fromSample(QSize size) {
  const QImage sample(QStringLiteral(":/images/secondPic.png"));
  const QSize crop = sample.size() * 3 / 4;
  return sample.copy(QRect(QPoint(0, 0), crop))
      .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// When the picture view last finished painting: the moment a result is on screen.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget *view) { view->installEventFilter(this); }
  QElapsedTimer painted;
  qint64 longestPaint = 0;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::Paint) return false;
    QElapsedTimer clock;
    clock.start();
    watched->event(event);  // paints now, so the time taken is after it
    longestPaint = std::max(longestPaint, clock.elapsed());
    painted.start();
    return true;
  }
};

// The window thread's own processor time in milliseconds.
double threadMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Beats every 10 ms on the window's thread. A gap between beats is the
// thread's own work or a wait for a processor (the machine's load); the
// processor time it used within the gap tells the two apart.
class Heartbeat {
 public:
  Heartbeat() {
    _beat.setInterval(10);
    _beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&_beat, &QTimer::timeout, [this] { beat(); });
    _since.start();
    _cpuSince = threadMs();
    _beat.start();
  }
  struct Gaps {
    qint64 longest;  // wall time, ms
    double busiest;  // the thread's processor time within one gap, ms
  };
  // The longest gap since the last call, and the most work within one.
  Gaps take() {
    beat();
    const Gaps gaps{_longest, _busiest};
    _longest = 0;
    _busiest = 0;
    return gaps;
  }

 private:
  void beat() {
    const double cpu = threadMs();
    _longest = std::max(_longest, _since.restart());
    _busiest = std::max(_busiest, cpu - _cpuSince);
    _cpuSince = cpu;
  }

  QTimer _beat;
  QElapsedTimer _since;
  double _cpuSince = 0;
  qint64 _longest = 0;
  double _busiest = 0;
};

struct Probe {
  explicit Probe(QWidget *view) : paint(view) {}
  Heartbeat heart;
  PaintWatch paint;
};

// Starts `step` from the event loop, waits until `done` fires, and prints how
// long it took, when the view had painted the answer, and the longest gap
// between beats meanwhile.
template <class Sender, class Signal>
qint64 measure(Probe &probe, const char *name, const std::function<void()> &step, Sender *sender,
               Signal done) {
  QEventLoop loop;
  QElapsedTimer clock;
  const auto connection = QObject::connect(sender, done, &loop, &QEventLoop::quit);
  probe.heart.take();
  probe.paint.painted.invalidate();
  probe.paint.longestPaint = 0;
  QTimer::singleShot(0, [&] {
    clock.start();
    step();
  });
  loop.exec();
  const qint64 took = clock.elapsed();
  QObject::disconnect(connection);
  // Let what the answer asked for (the repaint of the view) happen too.
  QEventLoop after;
  QTimer::singleShot(200, &after, &QEventLoop::quit);
  after.exec();
  const qint64 onScreen =
      probe.paint.painted.isValid() ? clock.msecsTo(probe.paint.painted) : qint64(-1);
  const Heartbeat::Gaps gaps = probe.heart.take();
  std::printf(
      "%-22s %6lld ms, painted at %6lld ms (painting %3lld ms)   longest gap %4lld ms, busiest "
      "%5.1f ms\n",
      name, took, onScreen, probe.paint.longestPaint, gaps.longest, gaps.busiest);
  return took;
}
}  // namespace

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  QTemporaryDir folder;
  QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (path.isEmpty()) {
    path = folder.filePath(QStringLiteral("large.jpg"));
    if (!fromSample({8000, 6000}).save(path, "JPEG", 90)) {
      std::fprintf(stderr, "screen_gaps: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  AppDelegate delegate;
  delegate.didFinishLaunchingWithOptions({});
  auto *screen = qobject_cast<PictureViewController *>(delegate.tabBarController()->widget(0));
  screen->loadViewIfNeeded();
  PictureScreenModel *model = screen->model();
  Probe probe(screen->image());

  QString error;
  QObject::connect(model, &PictureScreenModel::fileRefused, [&](const QString &why) {
    error = why;
    emit model->pictureShown({});  // ends the wait
  });
  measure(
      probe, "open", [&] { screen->toolBar()->openFileLater(path); }, model,
      &PictureScreenModel::pictureShown);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "screen_gaps: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("picture %d x %d\n", model->picture().width(), model->picture().height());
  // A user looks at the picture a moment before the first click.
  constexpr int kLookMs = 1000;
  QEventLoop look;
  QTimer::singleShot(kLookMs, &look, &QEventLoop::quit);
  look.exec();
  std::printf("looked at it for %d ms\n", kLookMs);
  for (const char *name : {"Apply, click to map", "Apply again", "Apply again", "Apply again"}) {
    measure(
        probe, name, [&] { screen->applyButton()->click(); }, model,
        &PictureScreenModel::resultShown);
    std::printf("  of which detection   %6.1f ms\n", model->result().nanoseconds / 1e6);
  }
  measure(
      probe, "stage: thinned", [&] { screen->toolBar()->setStage(EdgeStage::kThinnedMagnitude); },
      model, &PictureScreenModel::resultShown);
  measure(
      probe, "stage: edge map", [&] { screen->toolBar()->setStage(EdgeStage::kEdgeMap); }, model,
      &PictureScreenModel::resultShown);
  measure(
      probe, "Suggest (and Apply)", [&] { screen->detectionPanel()->suggestButton()->click(); },
      model, &PictureScreenModel::idle);
  return 0;
}
