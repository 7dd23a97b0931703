#pragma once
// The window as the user left it: its geometry, the tab shown and each tab's
// slider values, kept in the user's settings and brought back at the next
// launch. The last folder of Open and Save is kept by the screens themselves.
class QTabWidget;
class QWidget;

// Brings back the window's geometry (true) or leaves it alone when none was
// kept or it cannot be used (false), and shows the tab last shown unless it
// is the camera's.
bool restoreWindow(QWidget *window);
void restoreCurrentTab(QTabWidget *tabs);
// Remembers the tab shown from now on, and each screen's sliders: restored
// when the screen is built, remembered whenever one moves.
void rememberTabsAndSliders(QTabWidget *tabs);
void rememberWindow(const QWidget *window);
