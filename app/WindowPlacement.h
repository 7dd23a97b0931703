#pragma once
// Where the main window opens: centred in the screen's available area at a
// comfortable size, or maximised where that area is too small for it.
#include <QRect>

struct WindowPlacement {
  QRect geometry;  // the window's size and place, frame excluded
  bool maximised;
};

// Below this the window is maximised: a picture, four sliders and the rows
// of buttons and status need about that much.
inline constexpr QSize kComfortableWindowSize(1024, 768);

WindowPlacement placeWindow(const QRect &available);
