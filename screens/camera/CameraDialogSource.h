#pragma once
// The camera screen's real picture source: a fresh camera dialog each time.
#include <QPointer>

#include "screens/camera/CameraDialog.h"
#include "screens/camera/CameraPictureSource.h"

class CameraDialogSource : public CameraPictureSource {
  Q_OBJECT

 public:
  ~CameraDialogSource() override;

  void presentPicker(QWidget *parent) override;
  void dismissPicker() override;

 private:
  // The dialog opened last, owned here: it stays, closed, until the next one
  // opens or this source goes. It is a child of the widget it opens over only
  // to open there, so a parent that goes first takes it along: hence QPointer.
  QPointer<CameraDialog> _dialog;
};
