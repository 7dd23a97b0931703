#pragma once
// The fifth tab: works on a picture it is given (the camera's) instead of a
// sample picture. Until it has one, Apply and Reset do nothing.
#include "screens/PictureViewController.h"

class FifthViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit FifthViewController(const QString &nibName, QWidget *parent = nullptr);

  // The picture Apply and Reset start from; null until one is given.
  const QImage &preImage() const { return _preImage; }
  void setPreImage(const QImage &picture) { _preImage = picture; }

 public slots:
  void convert() override;
  void reset() override;

 protected:
  QImage sourcePicture() const override { return _preImage; }

 private:
  QImage _preImage;
};
