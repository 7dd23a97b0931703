#pragma once
// Runs one camera at a time on a thread of its own, so that the window never
// waits for one: starting or stopping a camera changes a media pipeline's
// state, which waits for the camera service (PipeWire waits up to 30 s for a
// stalled source). Everything here is called through queued calls from the
// window's thread and answers with signals; each request carries a ticket
// that its answers repeat, so that answers to an older request are known.
#include <QCamera>
#include <QImage>
#include <QObject>
#include <QString>
#include <memory>

class QImageCapture;
class QMediaCaptureSession;
class QVideoSink;

class CameraRunner : public QObject {
  Q_OBJECT

 public:
  CameraRunner();
  ~CameraRunner() override;

  // Runs `camera` (made on the window's thread, where the device list lives,
  // and moved to this one), stopping the one running; null stops it only.
  void run(QCamera *camera, int ticket);
  // Takes one still picture into `path`.
  void capture(const QString &path, int ticket);

 signals:
  // A frame of the camera of run `ticket`, copied on this thread: some sources
  // (PipeWire's) take back their frames' memory when they stop.
  void frameArrived(int ticket, const QImage &frame);
  // The camera of run `ticket` has started (or, for a null one, stopped).
  void runStarted(int ticket);
  void readyForCaptureChanged(bool ready);
  // The picture of capture `ticket`: its pixels, then its file once written,
  // or why it failed.
  void shotCaptured(int ticket, const QImage &picture);
  void shotSaved(int ticket, const QString &fileName);
  void shotFailed(int ticket, const QString &why);

 private:
  void stop();

  // Made on this thread at first use, so that their pipeline's messages are
  // handled here too.
  std::unique_ptr<QMediaCaptureSession> _session;
  std::unique_ptr<QImageCapture> _imageCapture;
  std::unique_ptr<QVideoSink> _frames;  // the running camera's
  std::unique_ptr<QCamera> _camera;
  int _shotTicket = 0;
  int _shotId = -1;
};
