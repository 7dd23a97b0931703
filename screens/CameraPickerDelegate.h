#pragma once
// What a camera picker tells the screen that opened it: the one picture the
// user took (or opened from a file), or that the user cancelled. The picker
// stays open until the screen closes it.
#include <QImage>

class CameraPickerDelegate {
 public:
  virtual void didFinishPickingImage(const QImage &image) = 0;
  virtual void imagePickerControllerDidCancel() = 0;

 protected:
  ~CameraPickerDelegate() = default;
};
