#pragma once
// What the camera tab shows while it has no picture: a short note and the two
// ways to get one, centred over the empty picture view.
#include <QFrame>

class QLabel;
class QPushButton;

class CameraHint : public QFrame {
  Q_OBJECT

 public:
  // Lies over `host` and follows its size.
  explicit CameraHint(QWidget *host);

  QLabel *message() const { return _message; }
  QPushButton *takeButton() const { return _takeButton; }
  QPushButton *openButton() const { return _openButton; }
  // The standing note again, or `why` the last try gave no picture.
  void showReason(const QString &why);

 signals:
  void takePicture();
  void openPictureFile();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void centre();

  QLabel *_message;
  QPushButton *_takeButton;
  QPushButton *_openButton;
};
