#include "screens/CameraDialogSource.h"

#include "screens/PictureViewController.h"

CameraDialogSource::~CameraDialogSource() { delete _imgPicker; }

void CameraDialogSource::presentPicker(QWidget *parent, CameraPickerDelegate *delegate) {
  if (_imgPicker) {
    _imgPicker->dismiss();
    _imgPicker->deleteLater();  // it may be in the middle of reporting
  }
  _imgPicker = new CameraDialog(parent);
  _imgPicker->setDelegate(delegate);
  // The viewfinder's edge map follows the sliders of the screen it opens over.
  if (auto *screen = qobject_cast<PictureViewController *>(parent))
    _imgPicker->setEdgeSettings(
        [screen = QPointer(screen)] { return screen ? screen->sliderSettings() : EdgeSettings{}; });
  _imgPicker->open();
}

void CameraDialogSource::dismissPicker() {
  if (_imgPicker) _imgPicker->dismiss();
}
