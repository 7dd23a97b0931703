#include "screens/picture/SecondPicViewController.h"

namespace {
constexpr ScreenConstants kSecondScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Second"),
    .tabIcon = "second",
    .picture = "secondPic",
    .t1 = kLowThreshold,
    .t2 = kHighThreshold,
    .sigma = kSigmaUnsmoothed,
    .steps = kSteps,
    .reportsFailures = true,
};
}  // namespace

SecondPicViewController::SecondPicViewController(const QString &nibName, DetectorFunction detector,
                                                 QWidget *parent)
    : PictureViewController(nibName, kSecondScreen, std::move(detector), parent) {}
