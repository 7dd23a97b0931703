#include "screens/picture/ClassLegend.h"

#include <QColor>
#include <QCoreApplication>
#include <QLocale>

namespace {
QString swatch(PixelClass pixelClass) {
  return QStringLiteral("<span style=\"color:%1\">■</span>")
      .arg(QColor(classColour(pixelClass)).name());
}
}  // namespace

QString classLegend(const PixelAnalysis &a) {
  const QLocale locale;
  const auto count = [&](PixelClass c) { return locale.toString(a.counts[int(c)]); };
  return QCoreApplication::translate("ClassLegend",
                                     "%1 seed ≥ T2: %2 &nbsp; %3 weak, kept: %4 &nbsp; "
                                     "%5 weak, dropped: %6")
      .arg(swatch(PixelClass::kStrong), count(PixelClass::kStrong), swatch(PixelClass::kWeakKept),
           count(PixelClass::kWeakKept), swatch(PixelClass::kWeakDropped),
           count(PixelClass::kWeakDropped));
}
