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

QString classLegend() {
  return QCoreApplication::translate("ClassLegend", "%1 seed %2 kept %3 dropped")
      .arg(swatch(PixelClass::kStrong), swatch(PixelClass::kWeakKept),
           swatch(PixelClass::kWeakDropped));
}

QString classCounts(const PixelAnalysis &a) {
  const QLocale locale;
  const auto count = [&](PixelClass c) { return locale.toString(a.counts[int(c)]); };
  return QCoreApplication::translate("ClassLegend",
                                     "Seeds, at least T2: %1\nWeak, from T1 below T2, kept "
                                     "because they join a seed: %2\nWeak, dropped: %3")
      .arg(count(PixelClass::kStrong), count(PixelClass::kWeakKept),
           count(PixelClass::kWeakDropped));
}
