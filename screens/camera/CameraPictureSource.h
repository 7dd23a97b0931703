#pragma once
// Where the camera screen gets its pictures from: by default the camera
// dialog (CameraDialogSource), in tests anything that signals the same way.
#include <QImage>
#include <QObject>

class QWidget;

class CameraPictureSource : public QObject {
  Q_OBJECT

 public:
  // Opens a new picker, modal over `parent`'s window. A picker still open
  // from before is closed.
  virtual void presentPicker(QWidget *parent) = 0;
  // Closes the picker opened last, if it is still open.
  virtual void dismissPicker() = 0;

 signals:
  // The picker stays open after either; the screen closes it.
  void pictureTaken(const QImage &picture);
  void cancelled();
};
