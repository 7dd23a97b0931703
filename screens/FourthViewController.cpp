#include "screens/FourthViewController.h"

namespace {
constexpr ScreenConstants fourthScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Forth"),
    .tabIcon = "second",
    .picture = "fourthPic",
    .t1 = {0.0f, 10.0f, 2.0f},
    .t2 = {0.0f, 10.0f, 6.0f},
    .sigma = {0.0f, 60.0f, 0.0f},
    .steps = {0.0f, 8.0f, 4.0f},
    .reportsFailures = true,
};
}  // namespace

FourthViewController::FourthViewController(const QString &nibName, QWidget *parent)
    : PictureViewController(nibName, fourthScreen, parent) {}
