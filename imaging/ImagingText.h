#pragma once
// The context of the reasons imaging gives (a file truncated, damaged, over the budget): the
// window, which installs its strings table, shows them in its language; the command-line tool
// installs none and prints them as written here.
#include <QCoreApplication>

class ImagingText {
  Q_DECLARE_TR_FUNCTIONS(ImagingText)
};
