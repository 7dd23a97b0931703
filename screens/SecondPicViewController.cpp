#include "screens/SecondPicViewController.h"

namespace {
constexpr ScreenConstants secondScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Second"),
    .tabIcon = "second",
    .picture = "secondPic",
    .t1 = {0.0f, 10.0f, 2.0f},
    .t2 = {0.0f, 10.0f, 6.0f},
    .sigma = {0.0f, 60.0f, 0.0f},
    .steps = {0.0f, 8.0f, 4.0f},
    .reportsFailures = true,
};
}  // namespace

SecondPicViewController::SecondPicViewController(const QString &nibName, QWidget *parent)
    : PictureViewController(nibName, secondScreen, parent) {}
