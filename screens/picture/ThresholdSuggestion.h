#pragma once
// Settings suggested by the picture itself. The rule: T2 is the thinned
// gradient magnitude that the strongest few pixels of the picture reach (a
// fixed share of all its pixels), T1 a fixed fraction of T2. Smoothing comes
// first: at least a least Sigma (unsmoothed photographs give maps of noise),
// and more while T2 would not fit well inside its slider's range, for smoothing
// lowers every magnitude.
#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

// Below a fiftieth of the magnitude a one-level step gives (0.5): what
// smoothing leaves on flat ground, not a ridge.
inline constexpr float kLeastRidge = 0.01f;

struct ThresholdSuggestion {
  float t1, t2;
  float sigma = 0;
  std::int32_t steps = 0;
};

struct ThresholdRule {
  double seedShare = 0.03;          // of all pixels, those that reach T2
  double lowFraction = 0.4;         // T1 as a part of T2
  float leastSigma = 3.0f;          // the smoothing Suggest starts from
  float sigmaGrowth = 1.5f;         // the next Sigma tried while T2 does not fit
  double t2Headroom = 0.9;          // T2 fits when at most this part of its range's top
  std::int32_t passesWhenNone = 4;  // Steps when there are none: Sigma needs passes
};

struct ValueRange {
  float minimum, maximum;
};

// From thinned magnitudes (width * height, row after row), leaving out the
// four corner pixels: the detector's grid has 0 beyond the corners, which
// gives them a ridge even on a flat picture. Empty when there is no ridge.
// T2 is kept inside its range, T1 the rule's fraction of that T2 inside its.
std::optional<ThresholdSuggestion> suggestThresholds(const std::vector<float> &thinned, int width,
                                                     int height, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule = {});

// From a picture: Sigma from max(sigma, the rule's least) upward inside
// `sigmaRange`, the first at which T2 fits its range, or the range's top.
std::optional<ThresholdSuggestion> suggestSettings(const QImage &picture, float sigma,
                                                   std::int32_t steps, ValueRange t1Range,
                                                   ValueRange t2Range, ValueRange sigmaRange,
                                                   ThresholdRule rule = {});
