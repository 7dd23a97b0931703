#pragma once
// Thresholds suggested by the picture itself. The rule: T2 at the given
// percentile of the thinned gradient magnitudes of at least kLeastRidge, T1 a
// fixed fraction of T2; each then kept inside its slider's range.
#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

// Below a fiftieth of the magnitude a one-level step gives (0.5): what
// smoothing leaves on flat ground, not a ridge.
inline constexpr float kLeastRidge = 0.01f;

struct ThresholdSuggestion {
  float t1, t2;
};

struct ThresholdRule {
  double highPercentile = 0.8;  // of the thinned magnitudes
  double lowFraction = 0.4;     // T1 as a part of T2
};

struct ValueRange {
  float minimum, maximum;
};

// From thinned magnitudes (width * height, row after row), leaving out the
// four corner pixels: the detector's grid has 0 beyond the corners, which
// gives them a ridge even on a flat picture. Empty when there is no ridge.
std::optional<ThresholdSuggestion> suggestThresholds(const std::vector<float> &thinned, int width,
                                                     int height, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule = {});

// From a picture, smoothed as the detector would at `sigma` and `steps`.
std::optional<ThresholdSuggestion> suggestThresholds(const QImage &picture, float sigma,
                                                     std::int32_t steps, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule = {});
