#pragma once
// The camera screen's real picture source: a fresh camera dialog each time.
#include <QPointer>

#include "screens/CameraDialog.h"
#include "screens/CameraPictureSource.h"

class CameraDialogSource : public CameraPictureSource {
 public:
  ~CameraDialogSource() override;

  void presentPicker(QWidget *parent, CameraPickerDelegate *delegate) override;
  void dismissPicker() override;

  // The dialog opened last, also after it was closed; null before the first.
  CameraDialog *imgPicker() const { return _imgPicker; }

 private:
  QPointer<CameraDialog> _imgPicker;  // owned by its parent widget
};
