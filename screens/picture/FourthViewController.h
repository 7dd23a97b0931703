#pragma once
// The fourth tab: a colour photograph of a cat. It shares the second tab's icon,
// and its title key is spelled "Forth"; the strings table shows it as "Fourth".
#include "screens/picture/PictureViewController.h"

class FourthViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit FourthViewController(const QString &nibName, DetectorFunction detector,
                                QWidget *parent = nullptr);
};
