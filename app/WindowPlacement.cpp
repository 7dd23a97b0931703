#include "app/WindowPlacement.h"

WindowPlacement placeWindow(const QRect &available) {
  if (available.width() < kComfortableWindowSize.width() ||
      available.height() < kComfortableWindowSize.height())
    return {available, true};
  // Most of the area, leaving room for the frame and the desktop around it.
  const QSize size = (available.size() * 0.8).expandedTo(kComfortableWindowSize);
  QRect geometry(QPoint(0, 0), size);
  geometry.moveCenter(available.center());
  return {geometry, false};
}
