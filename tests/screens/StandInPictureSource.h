#pragma once
// A picture source without camera hardware for the camera screen's tests: it
// records how the screen opens and closes it, and the test hands the screen a
// picture or a cancel through it, the way the camera dialog would.
#include <QImage>

#include "screens/CameraPickerDelegate.h"
#include "screens/CameraPictureSource.h"

class StandInPictureSource : public CameraPictureSource {
 public:
  void presentPicker(QWidget *, CameraPickerDelegate *delegate) override {
    ++presented;
    isOpen = true;
    _delegate = delegate;
  }
  void dismissPicker() override { isOpen = false; }

  void take(const QImage &picture) { _delegate->didFinishPickingImage(picture); }
  void cancel() { _delegate->imagePickerControllerDidCancel(); }

  int presented = 0;
  bool isOpen = false;

 private:
  CameraPickerDelegate *_delegate = nullptr;
};
