#include "screens/picture/ThresholdSuggestion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "imaging/EdgeStages.h"

namespace {
float clampTo(double value, ValueRange range) {
  return std::clamp(float(value), range.minimum, range.maximum);
}
}  // namespace

std::optional<ThresholdSuggestion> suggestThresholds(const std::vector<float> &thinned, int width,
                                                     int height, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule) {
  const std::size_t w = std::size_t(std::max(width, 1)), h = std::size_t(std::max(height, 1));
  std::vector<float> ridges;
  for (std::size_t i = 0; i < thinned.size(); ++i) {
    const std::size_t x = i % w, y = i / w;
    const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
    if (!corner && thinned[i] >= kLeastRidge && std::isfinite(thinned[i]))
      ridges.push_back(thinned[i]);
  }
  if (ridges.empty()) return std::nullopt;
  const double place = std::clamp(rule.highPercentile, 0.0, 1.0) * double(ridges.size() - 1);
  const auto at = ridges.begin() + std::ptrdiff_t(std::llround(place));
  std::nth_element(ridges.begin(), at, ridges.end());
  const double high = *at;
  return ThresholdSuggestion{clampTo(high * rule.lowFraction, t1Range), clampTo(high, t2Range)};
}

std::optional<ThresholdSuggestion> suggestThresholds(const QImage &picture, float sigma,
                                                     std::int32_t steps, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule) {
  // With T1 at 0 every magnitude reaches suppression.
  const StagePicture thinned =
      computeStage(picture, {0.0f, 0.0f, sigma, steps}, EdgeStage::kThinnedMagnitude);
  if (thinned.image.isNull()) return std::nullopt;
  return suggestThresholds(thinned.values, picture.width(), picture.height(), t1Range, t2Range,
                           rule);
}
