#pragma once
// Where the camera screen gets its pictures from: by default the camera
// dialog (CameraDialogSource), in tests anything that reports to the
// delegate the same way.
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
