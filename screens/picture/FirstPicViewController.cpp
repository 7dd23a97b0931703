#include "screens/picture/FirstPicViewController.h"

namespace {
constexpr ScreenConstants kFirstScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "First"),
    .tabIcon = "first",
    .picture = "firstPic.png",
    .t1 = {0.0f, 1.0f, 0.6f},
    .t2 = {0.0f, 2.0f, 0.8f},
    .sigma = kSigmaUnsmoothed,
    .steps = kSteps,
    .reportsFailures = false,
};
}  // namespace

FirstPicViewController::FirstPicViewController(const QString &nibName, DetectorFunction detector,
                                               QWidget *parent)
    : PictureViewController(nibName, kFirstScreen, std::move(detector), parent) {}
