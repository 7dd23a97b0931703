#include "screens/live/LiveMode.h"

#include "screens/widgets/UserSettings.h"

namespace {
constexpr auto kKey = "liveMode";
}  // namespace

LiveMode::LiveMode() : _on(userSettings().value(kKey, false).toBool()) {}

LiveMode &LiveMode::shared() {
  static LiveMode mode;
  return mode;
}

void LiveMode::setOn(bool on) {
  if (on == _on) return;
  _on = on;
  userSettings().setValue(kKey, on);
  emit changed(on);
}
