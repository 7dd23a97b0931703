#include "screens/FifthViewController.h"

namespace {
constexpr ScreenConstants fifthScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Fifth"),
    .tabIcon = "first",
    .picture = nullptr,
    .t1 = {0.0f, 10.0f, 2.0f},
    .t2 = {0.0f, 10.0f, 6.0f},
    .sigma = {0.0f, 60.0f, 2.0f},
    .steps = {0.0f, 8.0f, 4.0f},
    .reportsFailures = true,
};
}  // namespace

FifthViewController::FifthViewController(const QString &nibName, QWidget *parent)
    : PictureViewController(nibName, fifthScreen, parent) {}

void FifthViewController::convert() {
  if (!_preImage.isNull()) PictureViewController::convert();
}

void FifthViewController::reset() {
  if (!_preImage.isNull()) PictureViewController::reset();
}
