#include "screens/live/LiveMode.h"

#include <QSettings>

namespace {
constexpr auto kKey = "liveMode";

QSettings settings() {
  return QSettings(QSettings::UserScope, QStringLiteral("canny-demo"),
                   QStringLiteral("canny-demo"));
}
}  // namespace

LiveMode::LiveMode() : _on(settings().value(kKey, false).toBool()) {}

LiveMode &LiveMode::shared() {
  static LiveMode mode;
  return mode;
}

void LiveMode::setOn(bool on) {
  if (on == _on) return;
  _on = on;
  settings().setValue(kKey, on);
  emit changed(on);
}
