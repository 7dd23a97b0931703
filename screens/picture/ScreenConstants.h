#pragma once
// What tells one picture screen from another: every screen shares the same
// behaviour and differs only in these constants.

// A slider's range and the value it starts at when the view is loaded.
struct SliderSetting {
  float minimum;
  float maximum;
  float start;
};

// The slider rows most screens share.
inline constexpr SliderSetting kLowThreshold{0.0f, 10.0f, 2.0f};
inline constexpr SliderSetting kHighThreshold{0.0f, 10.0f, 6.0f};
inline constexpr SliderSetting kSigmaUnsmoothed{0.0f, 60.0f, 0.0f};
inline constexpr SliderSetting kSteps{0.0f, 8.0f, 4.0f};

struct ScreenConstants {
  const char *titleKey;  // looked up in the strings table, context "Titles"
  const char *tabIcon;   // picture name of the tab's icon
  const char *picture;   // the sample picture's name; nullptr for none
  SliderSetting t1, t2, sigma, steps;
  bool reportsFailures;  // whether the bridge writes its failure messages
};
