#include "screens/camera/CameraDialog.h"

#include <QCamera>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "imaging/PictureReader.h"
#include "screens/camera/CameraPictureFile.h"
#include "screens/camera/CameraRunner.h"
#include "screens/widgets/ImageView.h"

namespace {
// How long Take may wait for the camera before the user hears about it.
constexpr int kShotDeadlineMs = 10000;
// How long a started camera may take to show its first frame before the user
// hears about it: well beyond what a camera takes to start, even on a busy
// machine.
constexpr int kFirstFrameMs = 5000;
// How long a closing dialog waits for its camera to stop; a camera stopping
// later stops on its own.
constexpr int kStopWaitMs = 2000;
}  // namespace

CameraDialog::CameraDialog(QWidget *parent)
    : QDialog(parent),
      _chooseFile(choosePictureFile),
      _cameraThread(new QThread),
      _runner(new CameraRunner) {
  setWindowTitle(tr("Camera"));
  buildLayout();

  _runner->moveToThread(_cameraThread);
  connect(_cameraThread, &QThread::finished, _runner, &QObject::deleteLater);
  _cameraThread->start();
  connect(_runner, &CameraRunner::frameArrived, this, [this](int ticket, const QImage &frame) {
    if (ticket != _runTicket || _inUse.isNull()) return;
    _firstFrameDeadline.stop();
    if (std::exchange(_toldNoPicture, false)) _message->clear();
    showFrame(frame);
  });
  connect(_runner, &CameraRunner::readyForCaptureChanged, this, [this](bool ready) {
    _readyForCapture = ready;
    updateControls();
  });

  // Queued: Qt Multimedia may announce cameras while it is still setting
  // itself up, and asking it for the list right then would deadlock.
  connect(&_mediaDevices, &QMediaDevices::videoInputsChanged, this, &CameraDialog::listCameras,
          Qt::QueuedConnection);
  connect(_cameraChooser, &QComboBox::activated, this, &CameraDialog::runChosenCamera);
  connect(_edgesBox, &QCheckBox::toggled, this, [this](bool on) {
    if (!on) _frameEdges.cancel();
  });
  connect(&_frameEdges, &LiveDetector::detected, this, [this](const QImage &edgeMap) {
    if (_edgesBox->isChecked()) _viewfinder->setImage(edgeMap);
  });
  connect(_takeButton, &QPushButton::clicked, this, &CameraDialog::take);
  connect(_cancelButton, &QPushButton::clicked, this, &CameraDialog::reject);
  connect(_openFileButton, &QPushButton::clicked, this, &CameraDialog::chooseFile);
  connect(_runner, &CameraRunner::shotCaptured, this, &CameraDialog::shotCaptured);
  connect(_runner, &CameraRunner::shotSaved, this, &CameraDialog::shotSaved);
  connect(_runner, &CameraRunner::shotFailed, this, &CameraDialog::shotFailed);
  _shotDeadline.setSingleShot(true);
  _shotDeadline.setInterval(kShotDeadlineMs);
  connect(&_shotDeadline, &QTimer::timeout, this, &CameraDialog::shotOverdue);
  _firstFrameDeadline.setSingleShot(true);
  _firstFrameDeadline.setInterval(kFirstFrameMs);
  connect(&_firstFrameDeadline, &QTimer::timeout, this, &CameraDialog::noPictureYet);

  listCameras();
}

CameraDialog::~CameraDialog() {
  stopCamera();
  // Queued after every request, so that the runner sees them all, the last
  // stopping the camera.
  QMetaObject::invokeMethod(_runner, [] { QThread::currentThread()->quit(); });
  if (_cameraThread->wait(kStopWaitMs))
    delete _cameraThread;
  else
    connect(_cameraThread, &QThread::finished, _cameraThread, &QObject::deleteLater);
}

void CameraDialog::buildLayout() {
  _cameraChooser = new QComboBox(this);
  _cameraChooser->setToolTip(tr("The camera to take the picture with"));
  _edgesBox = new QCheckBox(tr("Show &edges at the tab's settings"), this);
  _edgesBox->setToolTip(tr("The viewfinder shows the edge map of each frame it keeps up with"));
  _viewfinder = new ImageView(this);
  _viewfinder->setMinimumSize(320, 240);
  _noCameraNotice = new QLabel(tr("No camera was found. You can open a picture file instead; "
                                  "it is shown at an eighth of its width and height."),
                               this);
  _noCameraNotice->setWordWrap(true);
  _message = new QLabel(this);
  _message->setWordWrap(true);
  _message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  _openFileButton = new QPushButton(tr("Open Picture File…"), this);
  _cancelButton = new QPushButton(tr("Cancel"), this);
  _takeButton = new QPushButton(tr("Take"), this);
  // Return goes to the default button, Take while a camera is there, never to
  // whichever button has the focus.
  _openFileButton->setAutoDefault(false);
  _cancelButton->setAutoDefault(false);
  setMinimumWidth(400);  // lines long enough to read

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(_openFileButton);
  buttons->addStretch();
  buttons->addWidget(_cancelButton);
  buttons->addWidget(_takeButton);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(_cameraChooser);
  layout->addWidget(_edgesBox);
  layout->addWidget(_viewfinder, 1);
  layout->addWidget(_noCameraNotice);
  layout->addWidget(_message);
  layout->addLayout(buttons);
}

void CameraDialog::openPictureFile(const QString &path) {
  QString why;
  const QImage picture = readPictureFile(path, &why);
  if (picture.isNull())
    showMessage(why);
  else
    pick(picture);
}

void CameraDialog::dismiss() { done(QDialog::Accepted); }

void CameraDialog::reject() {
  // A picture on its way is let finish first: the camera must not be pulled
  // from under it.
  if (_shotId != 0) {
    _cancelWhenShotEnds = true;
    return;
  }
  emit cancelled();
}

void CameraDialog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  _onShow = true;
  runChosenCamera();
}

void CameraDialog::hideEvent(QHideEvent *event) {
  QDialog::hideEvent(event);
  _onShow = false;
  runChosenCamera();
}

// Fills the chooser anew whenever cameras come or go, keeping the one chosen
// while it is still there, else the system's default.
void CameraDialog::listCameras() {
  const QCameraDevice chosen = chosenCamera();
  _cameras = QMediaDevices::videoInputs();
  qsizetype index = _cameras.indexOf(chosen);
  if (index < 0)
    index = std::max<qsizetype>(0, _cameras.indexOf(QMediaDevices::defaultVideoInput()));

  const QSignalBlocker quiet(_cameraChooser);
  _cameraChooser->clear();
  for (const QCameraDevice &camera : std::as_const(_cameras))
    _cameraChooser->addItem(camera.description());
  _cameraChooser->setCurrentIndex(int(index));
  runChosenCamera();
}

QCameraDevice CameraDialog::chosenCamera() const {
  const int index = _cameraChooser->currentIndex();
  return index >= 0 && index < _cameras.size() ? _cameras.at(index) : QCameraDevice();
}

// Runs the chosen camera while the dialog is on show, and none otherwise.
void CameraDialog::runChosenCamera() {
  if (_shotId == 0) {
    const QCameraDevice wanted = _onShow ? chosenCamera() : QCameraDevice();
    if (wanted != _inUse) {
      stopCamera();
      if (!wanted.isNull()) startCamera(wanted);
    }
  }
  updateControls();
}

// The camera object is made here, where the list of devices is kept, from a
// device checked against that list right before: one that has gone since it
// was listed would be built from freed memory. Only then does the camera go to
// its own thread to start.
void CameraDialog::startCamera(const QCameraDevice &device) {
  if (!QMediaDevices::videoInputs().contains(device)) {
    showMessage(tr("The camera “%1” is not connected any more.").arg(device.description()));
    return;
  }
  auto *camera = new QCamera(device);
  connect(camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &why) {
    showMessage(tr("Camera error: %1").arg(why));
  });
  camera->moveToThread(_cameraThread);
  _inUse = device;
  _runTicket = ++_lastTicket;
  _readyForCapture = false;
  _firstFrameDeadline.start();
  QMetaObject::invokeMethod(
      _runner, [runner = _runner, camera, ticket = _runTicket] { runner->run(camera, ticket); });
}

// The camera runs but shows nothing (a driver or camera service stalled): the
// user is told rather than left before an empty viewfinder. It keeps running,
// should its frames come after all.
void CameraDialog::noPictureYet() {
  showMessage(tr("The camera “%1” shows no picture. Choose another camera or open a picture "
                 "file instead.")
                  .arg(_inUse.description()));
  _toldNoPicture = true;
}

void CameraDialog::setEdgeSettings(EdgeSettingsSource settings) {
  _edgeSettings = std::move(settings);
  updateControls();
}

void CameraDialog::showFrame(const QImage &frame) {
  if (!_edgesBox->isChecked() || !_edgeSettings) return _viewfinder->setImage(frame);
  if (_frameEdges.isBusy() || frame.isNull()) return;
  _frameEdges.detect(grayBytesOf(frame), frame.width(), frame.height(), _edgeSettings());
}

void CameraDialog::stopCamera() {
  _frameEdges.cancel();
  _viewfinder->setImage(QImage());
  _firstFrameDeadline.stop();
  if (std::exchange(_toldNoPicture, false)) _message->clear();
  if (_inUse.isNull()) return;
  _inUse = QCameraDevice();
  _runTicket = ++_lastTicket;
  _readyForCapture = false;
  QMetaObject::invokeMethod(
      _runner, [runner = _runner, ticket = _runTicket] { runner->run(nullptr, ticket); });
}

void CameraDialog::updateControls() {
  const bool haveCameras = !_cameras.isEmpty();
  const bool shooting = _shotId != 0;
  _cameraChooser->setVisible(_cameras.size() > 1);
  _cameraChooser->setEnabled(!shooting);
  _viewfinder->setVisible(haveCameras);
  _edgesBox->setVisible(haveCameras && _edgeSettings);
  _noCameraNotice->setVisible(!haveCameras);
  _openFileButton->setEnabled(!shooting);
  _openFileButton->setDefault(!haveCameras);
  _takeButton->setEnabled(!_inUse.isNull() && _readyForCapture && !shooting);
  _takeButton->setDefault(haveCameras);
}

// One still picture. Its pixels arrive first; it is done once the capture has
// also encoded it to a file: only then may the camera stop, as some sources
// free a frame's memory when they stop.
void CameraDialog::take() {
  if (_inUse.isNull() || _shotId != 0) return;
  if (!_shotFolder) _shotFolder = std::make_unique<QTemporaryDir>();
  if (!_shotFolder->isValid()) {
    showMessage(tr("The picture cannot be taken: %1.").arg(_shotFolder->errorString()));
    _shotFolder.reset();
    return;
  }
  _message->clear();
  _shot = QImage();
  _shotId = ++_lastTicket;
  QMetaObject::invokeMethod(
      _runner, [runner = _runner, path = _shotFolder->filePath(QStringLiteral("shot.jpg")),
                ticket = _shotId] { runner->capture(path, ticket); });
  _shotDeadline.start();
  updateControls();
}

void CameraDialog::shotCaptured(int ticket, const QImage &picture) {
  if (ticket == _shotId) _shot = picture;
}

void CameraDialog::shotSaved(int ticket, const QString &fileName) {
  if (ticket != _shotId) return;
  // Should the pixels not have come through, the file holds the picture too.
  // Read as any picture file is, within the pixel budget; as shot, not turned.
  const QImage picture = _shot.isNull() ? readPicture(fileName).picture : _shot;
  QFile::remove(fileName);
  finishShot(picture, noPictureMessage());
}

void CameraDialog::shotFailed(int ticket, const QString &why) {
  const QString message = tr("The picture could not be taken: %1").arg(why);
  if (ticket == _shotId)
    finishShot(QImage(), message);
  else
    showMessage(message);
}

// The camera took too long: whatever arrived is used, else the user is told.
void CameraDialog::shotOverdue() { finishShot(_shot, noPictureMessage()); }

// Hands on the picture taken, or says why there is none; or reports the
// cancel the user asked for meanwhile.
void CameraDialog::finishShot(QImage picture, const QString &failure) {
  _shotDeadline.stop();
  _shotId = 0;
  _shot = QImage();
  runChosenCamera();  // catches up on camera changes held back meanwhile
  if (std::exchange(_cancelWhenShotEnds, false))
    reject();
  else if (picture.isNull())
    showMessage(failure);
  else
    pick(picture);
}

QString CameraDialog::noPictureMessage() {
  return tr("The camera did not deliver a picture. Please try again.");
}

void CameraDialog::chooseFile() {
  const QString path = _chooseFile ? _chooseFile(this) : QString();
  if (!path.isEmpty()) openPictureFile(path);
}

void CameraDialog::pick(const QImage &picture) {
  _message->clear();
  emit pictureTaken(picture);
}

void CameraDialog::showMessage(const QString &text) {
  _message->setText(text);
  // A window's layout does not grow it for wrapped lines: it is grown here,
  // so that the message reads whole.
  layout()->activate();
  const int needed = layout()->totalHeightForWidth(width());
  if (needed > height()) resize(width(), needed);
}
