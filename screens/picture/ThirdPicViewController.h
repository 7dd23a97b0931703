#pragma once
// The third tab: a colour photograph of a coffee cup.
#include "screens/picture/PictureViewController.h"

class ThirdPicViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit ThirdPicViewController(const QString &nibName, DetectorFunction detector,
                                  QWidget *parent = nullptr);
};
