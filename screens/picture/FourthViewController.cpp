#include "screens/picture/FourthViewController.h"

namespace {
constexpr ScreenConstants kFourthScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Forth"),
    .tabIcon = "second",
    .picture = "fourthPic",
    .t1 = kLowThreshold,
    .t2 = kHighThreshold,
    .sigma = kSigmaUnsmoothed,
    .steps = kSteps,
    .reportsFailures = true,
};
}  // namespace

FourthViewController::FourthViewController(const QString &nibName, DetectorFunction detector,
                                           QWidget *parent)
    : PictureViewController(nibName, kFourthScreen, std::move(detector), parent) {}
