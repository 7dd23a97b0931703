// How long the window's thread stops answering while a large picture is opened,
// applied, staged and suggested in the running application: a 10 ms heartbeat
// on that thread, and the longest gap between its beats in each step. Also
// Apply's click-to-map time. Measures; asserts nothing.
//
//   screen_gaps [PICTURE]   (a made-up 8000 x 6000 JPEG when none is given)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "app/AppDelegate.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/picture/PictureViewController.h"

namespace {
// Something with edges at every scale: rings, bars and a smooth ramp.
QImage madeUpPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  QPainter painter(&picture);
  QLinearGradient ramp(0, 0, width, height);
  ramp.setColorAt(0, Qt::darkBlue);
  ramp.setColorAt(1, Qt::yellow);
  painter.fillRect(picture.rect(), ramp);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 60; ++i) {
    painter.setPen(QPen(QColor::fromHsv(i * 6, 200, 220), 4 + i % 7));
    painter.drawEllipse(QPointF(width / 2.0, height / 2.0), 40.0 * i, 30.0 * i);
    painter.fillRect(QRectF(i * width / 60.0, height * 0.8, width / 120.0, height * 0.2),
                     QColor::fromHsv(i * 5, 255, 120));
  }
  return picture;
}

class Heartbeat {
 public:
  Heartbeat() {
    _beat.setInterval(10);
    _beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&_beat, &QTimer::timeout,
                     [this] { _longest = std::max(_longest, _since.restart()); });
    _since.start();
    _beat.start();
  }
  // The longest gap since the last call.
  qint64 takeLongest() {
    const qint64 longest = std::max(_longest, _since.elapsed());
    _longest = 0;
    return longest;
  }

 private:
  QTimer _beat;
  QElapsedTimer _since;
  qint64 _longest = 0;
};

// Starts `step` from the event loop, waits until `done` fires, and prints
// how long it took and the longest gap between beats meanwhile.
template <class Sender, class Signal>
qint64 measure(Heartbeat &heart, const char *name, const std::function<void()> &step,
               Sender *sender, Signal done) {
  QEventLoop loop;
  QElapsedTimer clock;
  const auto connection = QObject::connect(sender, done, &loop, &QEventLoop::quit);
  heart.takeLongest();
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
  std::printf("%-22s %6lld ms   longest gap %4lld ms\n", name, took, heart.takeLongest());
  return took;
}
}  // namespace

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  QTemporaryDir folder;
  QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (path.isEmpty()) {
    path = folder.filePath(QStringLiteral("large.jpg"));
    if (!madeUpPicture(8000, 6000).save(path, "JPEG", 90)) {
      std::fprintf(stderr, "screen_gaps: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  AppDelegate delegate;
  delegate.didFinishLaunchingWithOptions({});
  auto *screen = qobject_cast<PictureViewController *>(delegate.tabBarController()->widget(0));
  screen->loadViewIfNeeded();
  PictureScreenModel *model = screen->model();
  Heartbeat heart;

  QString error;
  QObject::connect(model, &PictureScreenModel::fileRefused, [&](const QString &why) {
    error = why;
    emit model->pictureShown({});  // ends the wait
  });
  measure(
      heart, "open", [&] { screen->toolBar()->openFileLater(path); }, model,
      &PictureScreenModel::pictureShown);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "screen_gaps: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("picture %d x %d\n", model->picture().width(), model->picture().height());
  measure(
      heart, "Apply, click to map", [&] { screen->applyButton()->click(); }, model,
      &PictureScreenModel::resultShown);
  std::printf("  detection reported   %6.1f ms\n", model->result().nanoseconds / 1e6);
  measure(
      heart, "Apply again", [&] { screen->applyButton()->click(); }, model,
      &PictureScreenModel::resultShown);
  measure(
      heart, "stage: thinned", [&] { screen->toolBar()->setStage(EdgeStage::kThinnedMagnitude); },
      model, &PictureScreenModel::resultShown);
  measure(
      heart, "stage: edge map", [&] { screen->toolBar()->setStage(EdgeStage::kEdgeMap); }, model,
      &PictureScreenModel::resultShown);
  measure(
      heart, "Suggest (and Apply)", [&] { screen->detectionPanel()->suggestButton()->click(); },
      model, &PictureScreenModel::idle);
  return 0;
}
