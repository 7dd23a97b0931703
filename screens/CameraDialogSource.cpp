#include "screens/CameraDialogSource.h"

CameraDialogSource::~CameraDialogSource() { delete _imgPicker; }

void CameraDialogSource::presentPicker(QWidget *parent, CameraPickerDelegate *delegate) {
  if (_imgPicker) {
    _imgPicker->dismiss();
    _imgPicker->deleteLater();  // it may be in the middle of reporting
  }
  _imgPicker = new CameraDialog(parent);
  _imgPicker->setDelegate(delegate);
  _imgPicker->open();
}

void CameraDialogSource::dismissPicker() {
  if (_imgPicker) _imgPicker->dismiss();
}
