#pragma once
// What tells one picture screen from another: every screen shares the same
// behaviour and differs only in these constants.

// A slider's range and the value it starts at when the view is loaded.
struct SliderSetting {
  float minimum;
  float maximum;
  float start;
};

struct ScreenConstants {
  const char *titleKey;     // looked up in the strings table, context "Titles"
  const char *tabIcon;      // picture name of the tab's icon
  const char *picture;      // the sample picture's name; nullptr for none
  SliderSetting t1, t2, sigma, steps;
  bool reportsFailures;     // whether the bridge writes its failure messages
};
