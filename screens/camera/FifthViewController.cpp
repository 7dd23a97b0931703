#include "screens/camera/FifthViewController.h"

#include <canny/canny.h>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <cstdio>
#include <limits>

#include "screens/camera/CameraDialogSource.h"
#include "screens/camera/CameraHint.h"
#include "screens/camera/CameraPictureFile.h"
#include "screens/camera/CameraShotFile.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/widgets/ImageView.h"

namespace {
// The camera screen starts at the engine's defaults.
constexpr canny::Settings kDefaults;
constexpr ScreenConstants kFifthScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Fifth"),
    .tabIcon = "fifth",
    .picture = nullptr,
    .t1 = {0.0f, 10.0f, kDefaults.t1},
    .t2 = {0.0f, 10.0f, kDefaults.t2},
    .sigma = {0.0f, 60.0f, kDefaults.sigma},
    .steps = {0.0f, 8.0f, float(kDefaults.steps)},
    .reportsFailures = true,
};

// The kept picture is an eighth of the camera's in width and in height.
constexpr qreal kShrinkFactor = 0.125;

// Whole pixels in `length`; none for lengths no picture can have. The
// tolerance keeps a product such as 40 * 1.5 that lands a hair below a whole
// number from losing a pixel.
int wholePixels(qreal length) {
  if (!(length > 0 && length < qreal(std::numeric_limits<int>::max()))) return 0;
  return int(std::floor(length + 1e-6));
}
}  // namespace

FifthViewController::FifthViewController(const QString &nibName, DetectorFunction detector,
                                         QWidget *parent)
    : PictureViewController(nibName, kFifthScreen, std::move(detector), parent),
      _shotFolder(defaultShotFolder()),
      _chooseFile(choosePictureFile) {
  setPictureSource(std::make_unique<CameraDialogSource>());
}

FifthViewController::~FifthViewController() = default;

void FifthViewController::setPictureSource(std::unique_ptr<CameraPictureSource> source) {
  if (_pictureSource) _pictureSource->dismissPicker();
  _pictureSource = std::move(source);
  if (!_pictureSource) return;
  connect(_pictureSource.get(), &CameraPictureSource::pictureTaken, this,
          &FifthViewController::didFinishPickingImage);
  connect(_pictureSource.get(), &CameraPictureSource::cancelled, this,
          &FifthViewController::imagePickerControllerDidCancel);
}

void FifthViewController::setPreImage(const QImage &picture) {
  _preImage = picture;
  _preImageFile.clear();
}

QString FifthViewController::pictureFileName() const {
  if (_preImage.isNull()) return PictureViewController::pictureFileName();
  if (_preImageFile.isEmpty()) {
    QString why;
    _preImageFile = writeShotFile(_preImage, _shotFolder, &why);
    // A folder that cannot be written to: the temporary folder still lets the
    // command be run.
    if (_preImageFile.isEmpty()) {
      QString more;
      _preImageFile = writeShotFile(_preImage, QDir::tempPath(), &more);
      const QString line = tr("Cannot write the camera picture into %1: %2.\n")
                               .arg(QDir::toNativeSeparators(_shotFolder), why);
      std::fputs(qPrintable(line), stderr);
    }
  }
  return _preImageFile.isEmpty() ? PictureViewController::pictureFileName() : _preImageFile;
}

CameraHint *FifthViewController::cameraHint() const { return _cameraHint; }

void FifthViewController::viewDidLoad() {
  PictureViewController::viewDidLoad();
  if (!image()) return;
  _cameraHint = new CameraHint(image());
  _cameraHint->setVisible(_preImage.isNull());
  enableButtons();
  connect(_cameraHint, &CameraHint::takePicture, this, &FifthViewController::viewWillAppear);
  connect(_cameraHint, &CameraHint::openPictureFile, this, &FifthViewController::openPictureFile);
}

void FifthViewController::enableButtons() {
  // Apply and Reset have nothing to work on until there is a picture.
  for (QPushButton *button : {applyButton(), resetButton()})
    if (button) button->setEnabled(!_preImage.isNull());
}

void FifthViewController::openPictureFile() {
  const QString path = _chooseFile ? _chooseFile(this) : QString();
  if (path.isEmpty() || !toolBar()) return;
  // Read as the tool bar's Open reads; the picture comes back through
  // openPicture().
  const QString why = toolBar()->openFile(path);
  if (!why.isEmpty() && _cameraHint) _cameraHint->showReason(why);
}

void FifthViewController::viewWillAppear() {
  if (_pictureSource) _pictureSource->presentPicker(this);
}

void FifthViewController::didFinishPickingImage(const QImage &picture) {
  const QSizeF points = picture.isNull() ? QSizeF(0, 0) : picture.deviceIndependentSize();
  setPreImage(imageWithImage(picture, points * kShrinkFactor));
  if (DetectionPanel *panel = detectionPanel()) {
    const QSize taken = picture.size();
    panel->setPictureNote(_preImage.isNull()
                              ? QString()
                              : tr("an eighth of %1 × %2").arg(taken.width()).arg(taken.height()));
  }
  showPicture(_preImage);
  enableButtons();
  if (_cameraHint) {
    _cameraHint->setVisible(_preImage.isNull());
    _cameraHint->showReason({});
  }
  if (_pictureSource) _pictureSource->dismissPicker();
}

void FifthViewController::imagePickerControllerDidCancel() {
  if (_pictureSource) _pictureSource->dismissPicker();
}

QImage FifthViewController::imageWithImage(const QImage &image, const QSizeF &size) {
  const QScreen *screen = QGuiApplication::primaryScreen();
  const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
  const QSize pixels(wholePixels(size.width() * ratio), wholePixels(size.height() * ratio));
  if (pixels.isEmpty()) return {};
  QImage surface(pixels, QImage::Format_ARGB32_Premultiplied);
  if (surface.isNull()) return {};  // too large to allocate
  surface.setDevicePixelRatio(ratio);
  surface.fill(Qt::transparent);
  if (!image.isNull()) {
    // Shrunk by averaging first: the painter's own filter samples too few
    // source pixels for so large a reduction and would alias.
    const QImage stretched = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&surface);
    painter.drawImage(QRectF(QPointF(0, 0), surface.deviceIndependentSize()), stretched);
  }
  return surface;
}

void FifthViewController::openPicture(const QImage &picture) {
  // A picture from a file is treated as one from the camera: an eighth.
  didFinishPickingImage(picture);
}

void FifthViewController::convert() {
  if (!_preImage.isNull()) PictureViewController::convert();
}

void FifthViewController::reset() {
  if (!_preImage.isNull()) PictureViewController::reset();
}
