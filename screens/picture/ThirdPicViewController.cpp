#include "screens/picture/ThirdPicViewController.h"

namespace {
constexpr ScreenConstants kThirdScreen{
    .titleKey = QT_TRANSLATE_NOOP("Titles", "Third"),
    .tabIcon = "third",
    .picture = "thirdPic",
    .t1 = kLowThreshold,
    .t2 = kHighThreshold,
    .sigma = kSigmaUnsmoothed,
    .steps = kSteps,
    .reportsFailures = true,
};
}  // namespace

ThirdPicViewController::ThirdPicViewController(const QString &nibName, DetectorFunction detector,
                                               QWidget *parent)
    : PictureViewController(nibName, kThirdScreen, std::move(detector), parent) {}
