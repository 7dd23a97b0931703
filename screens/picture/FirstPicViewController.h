#pragma once
// The first tab: a gray photograph. Its thresholds run on a finer scale (T1 up
// to 1, T2 up to 2), and its bridge fails silently.
#include "screens/picture/PictureViewController.h"

class FirstPicViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit FirstPicViewController(const QString &nibName, DetectorFunction detector,
                                  QWidget *parent = nullptr);
};
