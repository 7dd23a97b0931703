#pragma once
// Where the camera screen gets its pictures from: by default the camera
// dialog, in tests anything that reports to the delegate the same way.
#include <QPointer>

#include "screens/CameraDialog.h"

class QWidget;
class CameraPickerDelegate;

class CameraPictureSource {
 public:
  virtual ~CameraPictureSource() = default;

  // Opens a new picker, modal over `parent`'s window, that reports to
  // `delegate`. A picker still around from before is let go.
  virtual void presentPicker(QWidget *parent, CameraPickerDelegate *delegate) = 0;
  // Closes the picker opened last, if it is still open.
  virtual void dismissPicker() = 0;
};

// The real source: a fresh camera dialog each time.
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
