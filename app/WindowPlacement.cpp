#include "app/WindowPlacement.h"

WindowPlacement placeWindow(const QRect &available) {
  const bool small = available.width() < kComfortableWindowSize.width() ||
                     available.height() < kComfortableWindowSize.height();
  // Most of the area, centred, leaving room for the frame and the desktop
  // around it. A small area is filled, maximised; this is then the size the
  // window comes back to when it is no longer maximised, title bar on screen.
  const double share = small ? 0.9 : 0.8;
  const QSize size = small ? available.size() * share
                           : (available.size() * share).expandedTo(kComfortableWindowSize);
  QRect geometry(QPoint(0, 0), size);
  geometry.moveCenter(available.center());
  return {geometry, small};
}
