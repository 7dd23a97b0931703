#pragma once
// A camera picture source without hardware: it records how the screen opens and closes it, and
// hands the screen a picture or a cancel, as the camera dialog would.
#include <QImage>

#include "screens/camera/CameraPictureSource.h"

class StandInPictureSource : public CameraPictureSource {
 public:
  void presentPicker(QWidget *) override { ++presented, isOpen = true; }
  void dismissPicker() override { isOpen = false; }

  void take(const QImage &picture) { emit pictureTaken(picture); }
  void cancel() { emit cancelled(); }

  int presented = 0;
  bool isOpen = false;
};
