#include "screens/camera/CameraRunner.h"

#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QVideoFrame>
#include <QVideoSink>

CameraRunner::CameraRunner() = default;

CameraRunner::~CameraRunner() { stop(); }

void CameraRunner::run(QCamera *camera, int ticket) {
  std::unique_ptr<QCamera> next(camera);
  stop();
  if (!_session) {
    _session = std::make_unique<QMediaCaptureSession>();
    _imageCapture = std::make_unique<QImageCapture>();
    _session->setImageCapture(_imageCapture.get());
    connect(_imageCapture.get(), &QImageCapture::readyForCaptureChanged, this,
            &CameraRunner::readyForCaptureChanged);
    connect(_imageCapture.get(), &QImageCapture::imageCaptured, this,
            [this](int id, const QImage &picture) {
              if (id == _shotId) emit shotCaptured(_shotTicket, picture);
            });
    connect(_imageCapture.get(), &QImageCapture::imageSaved, this,
            [this](int id, const QString &fileName) {
              if (id == _shotId) emit shotSaved(_shotTicket, fileName);
            });
    connect(_imageCapture.get(), &QImageCapture::errorOccurred, this,
            [this](int id, QImageCapture::Error, const QString &why) {
              if (id == _shotId || id < 0) emit shotFailed(_shotTicket, why);
            });
  }
  if (next) {
    // Each run has a sink of its own that goes with its camera, so that no
    // frame of an earlier run is taken for one of this.
    _frames = std::make_unique<QVideoSink>();
    // Copied here, on this thread, never while the camera is being stopped:
    // a frame mapped while its source stops is freed from under the copy.
    // The sink is the context, so that frames still queued when it goes with
    // its camera are dropped rather than copied after the camera stopped.
    connect(
        _frames.get(), &QVideoSink::videoFrameChanged, _frames.get(),
        [this, ticket](const QVideoFrame &frame) { emit frameArrived(ticket, frame.toImage()); });
    // Frames and still capture join the session before the camera does: a
    // branch added to a running pipeline makes some sources (PipeWire's)
    // renegotiate, and they may stall doing so.
    _session->setVideoOutput(_frames.get());
    _camera = std::move(next);
    _session->setCamera(_camera.get());
    _camera->start();
  }
  emit runStarted(ticket);
}

void CameraRunner::capture(const QString &path, int ticket) {
  _shotTicket = ticket;
  _shotId = -1;
  if (!_camera || !_imageCapture) return emit shotFailed(ticket, tr("No camera is running."));
  // An id below 0 has been reported through errorOccurred already.
  _shotId = _imageCapture->captureToFile(path);
}

void CameraRunner::stop() {
  if (!_session) return;
  _session->setCamera(nullptr);
  _camera.reset();
  _session->setVideoOutput(nullptr);
  _frames.reset();
}
