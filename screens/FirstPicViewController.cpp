#include "screens/FirstPicViewController.h"

namespace {
constexpr ScreenConstants firstScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "First"),
    .tabIcon = "first",
    .picture = "firstPic.png",
    .t1 = {0.0f, 1.0f, 0.6f},
    .t2 = {0.0f, 2.0f, 0.8f},
    .sigma = {0.0f, 60.0f, 0.0f},
    .steps = {0.0f, 8.0f, 4.0f},
    .reportsFailures = false,
};
}  // namespace

FirstPicViewController::FirstPicViewController(const QString &nibName, QWidget *parent)
    : PictureViewController(nibName, firstScreen, parent) {}
