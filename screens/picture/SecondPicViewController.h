#pragma once
// The second tab: a colour portrait.
#include "screens/picture/PictureViewController.h"

class SecondPicViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit SecondPicViewController(const QString &nibName, DetectorFunction detector,
                                   QWidget *parent = nullptr);
};
