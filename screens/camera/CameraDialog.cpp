#include "screens/camera/CameraDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <algorithm>
#include <utility>

#include "imaging/PictureReader.h"
#include "screens/ImageView.h"
#include "screens/camera/CameraPictureFile.h"

namespace {
// How long Take may wait for the camera before the user hears about it.
constexpr int kShotDeadlineMs = 10000;
}  // namespace

CameraDialog::CameraDialog(QWidget *parent) : QDialog(parent), _chooseFile(choosePictureFile) {
  setWindowTitle(tr("Camera"));
  buildLayout();

  _session.setImageCapture(&_imageCapture);

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
  connect(&_imageCapture, &QImageCapture::readyForCaptureChanged, this,
          &CameraDialog::updateControls);
  connect(&_imageCapture, &QImageCapture::imageCaptured, this, &CameraDialog::shotCaptured);
  connect(&_imageCapture, &QImageCapture::imageSaved, this, &CameraDialog::shotSaved);
  connect(&_imageCapture, &QImageCapture::errorOccurred, this,
          [this](int id, QImageCapture::Error, const QString &why) { shotFailed(id, why); });
  _shotDeadline.setSingleShot(true);
  _shotDeadline.setInterval(kShotDeadlineMs);
  connect(&_shotDeadline, &QTimer::timeout, this, &CameraDialog::shotOverdue);

  listCameras();
}

CameraDialog::~CameraDialog() { stopCamera(); }

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
    const QCameraDevice running = _camera ? _camera->cameraDevice() : QCameraDevice();
    if (wanted != running) {
      stopCamera();
      if (!wanted.isNull()) startCamera(wanted);
    }
  }
  updateControls();
}

// Some sources (PipeWire's) take back the memory of their frames when they
// stop. So the viewfinder shows copies, made as each frame arrives, and each
// run of a camera has a frame sink of its own that goes with the camera,
// dropping any frame still on its way from it.
void CameraDialog::startCamera(const QCameraDevice &device) {
  _frames = std::make_unique<QVideoSink>();
  connect(_frames.get(), &QVideoSink::videoFrameChanged, this,
          [this](const QVideoFrame &frame) { showFrame(frame.toImage()); });
  // Frames and still capture join the session before the camera does: a
  // branch added to a running pipeline makes some sources (PipeWire's)
  // renegotiate, and they may stall doing so.
  _session.setVideoOutput(_frames.get());

  _camera = std::make_unique<QCamera>(device);
  connect(_camera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &why) {
    showMessage(tr("Camera error: %1").arg(why));
  });
  _session.setCamera(_camera.get());
  _camera->start();
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
  _session.setCamera(nullptr);
  _camera.reset();
  _session.setVideoOutput(nullptr);
  _frames.reset();
  _viewfinder->setImage(QImage());
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
  _takeButton->setEnabled(_camera && _imageCapture.isReadyForCapture() && !shooting);
  _takeButton->setDefault(haveCameras);
}

// One still picture. Its pixels arrive first; it is done once the capture has
// also encoded it to a file: only then may the camera stop, as some sources
// free a frame's memory when they stop.
void CameraDialog::take() {
  if (!_camera || _shotId != 0) return;
  if (!_shotFolder) _shotFolder = std::make_unique<QTemporaryDir>();
  if (!_shotFolder->isValid()) {
    showMessage(tr("The picture cannot be taken: %1.").arg(_shotFolder->errorString()));
    _shotFolder.reset();
    return;
  }
  _message->clear();
  _shot = QImage();
  const int id = _imageCapture.captureToFile(_shotFolder->filePath(QStringLiteral("shot.jpg")));
  if (id < 0) return;  // the capture reports why with errorOccurred
  _shotId = id;
  _shotDeadline.start();
  updateControls();
}

void CameraDialog::shotCaptured(int id, const QImage &picture) {
  if (id == _shotId) _shot = picture;
}

void CameraDialog::shotSaved(int id, const QString &fileName) {
  if (id != _shotId) return;
  // Should the pixels not have come through, the file holds the picture too.
  // Read as any picture file is, within the pixel budget; as shot, not turned.
  const QImage picture = _shot.isNull() ? readPicture(fileName).picture : _shot;
  QFile::remove(fileName);
  finishShot(picture, noPictureMessage());
}

void CameraDialog::shotFailed(int id, const QString &why) {
  const QString message = tr("The picture could not be taken: %1").arg(why);
  if (id == _shotId)
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
