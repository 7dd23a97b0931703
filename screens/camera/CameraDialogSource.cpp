#include "screens/camera/CameraDialogSource.h"

#include "screens/picture/PictureViewController.h"

CameraDialogSource::~CameraDialogSource() { delete _dialog; }

void CameraDialogSource::presentPicker(QWidget *parent) {
  if (_dialog) {
    _dialog->dismiss();
    _dialog->deleteLater();  // it may be in the middle of signalling
  }
  _dialog = new CameraDialog(parent);
  connect(_dialog, &CameraDialog::pictureTaken, this, &CameraPictureSource::pictureTaken);
  connect(_dialog, &CameraDialog::cancelled, this, &CameraPictureSource::cancelled);
  // The viewfinder's edge map follows the sliders of the screen it opens over.
  if (auto *screen = qobject_cast<PictureViewController *>(parent))
    _dialog->setEdgeSettings(
        [screen = QPointer(screen)] { return screen ? screen->sliderSettings() : EdgeSettings{}; });
  _dialog->open();
}

void CameraDialogSource::dismissPicker() {
  if (_dialog) _dialog->dismiss();
}
