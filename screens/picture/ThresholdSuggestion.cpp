#include "screens/picture/ThresholdSuggestion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "imaging/EdgeStages.h"

namespace {
float clampTo(double value, ValueRange range) {
  return std::clamp(float(value), range.minimum, range.maximum);
}

// The magnitude the strongest `share` of the pixels reach; at least the
// weakest ridge, so that flat ground never starts an edge. Empty without ridges.
std::optional<float> seedMagnitude(const std::vector<float> &thinned, int width, int height,
                                   double share) {
  const std::size_t w = std::size_t(std::max(width, 1)), h = std::size_t(std::max(height, 1));
  std::vector<float> values;
  values.reserve(thinned.size());
  float weakestRidge = INFINITY;
  for (std::size_t i = 0; i < thinned.size(); ++i) {
    const std::size_t x = i % w, y = i / w;
    const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
    const float v = thinned[i];
    if (corner || !std::isfinite(v)) continue;
    values.push_back(v);
    if (v >= kLeastRidge) weakestRidge = std::min(weakestRidge, v);
  }
  if (!std::isfinite(weakestRidge)) return std::nullopt;
  const double place = (1.0 - std::clamp(share, 0.0, 1.0)) * double(values.size() - 1);
  const auto at = values.begin() + std::ptrdiff_t(std::llround(place));
  std::nth_element(values.begin(), at, values.end());
  return std::max(*at, weakestRidge);
}
}  // namespace

std::optional<ThresholdSuggestion> suggestThresholds(const std::vector<float> &thinned, int width,
                                                     int height, ValueRange t1Range,
                                                     ValueRange t2Range, ThresholdRule rule) {
  const std::optional<float> high = seedMagnitude(thinned, width, height, rule.seedShare);
  if (!high) return std::nullopt;
  const float t2 = clampTo(*high, t2Range);
  return ThresholdSuggestion{clampTo(t2 * rule.lowFraction, t1Range), t2};
}

std::optional<ThresholdSuggestion> suggestSettings(const QImage &picture, float sigma,
                                                   std::int32_t steps, ValueRange t1Range,
                                                   ValueRange t2Range, ValueRange sigmaRange,
                                                   ThresholdRule rule) {
  if (steps < 1) steps = rule.passesWhenNone;
  const float fits = float(rule.t2Headroom * t2Range.maximum);
  float tried = clampTo(std::max(sigma, rule.leastSigma), sigmaRange);
  for (;;) {
    // With T1 at 0 every magnitude reaches suppression.
    const StagePicture thinned =
        computeStage(picture, {0.0f, 0.0f, tried, steps}, EdgeStage::kThinnedMagnitude);
    if (thinned.image.isNull()) return std::nullopt;
    const std::optional<float> high =
        seedMagnitude(thinned.values, picture.width(), picture.height(), rule.seedShare);
    if (!high) return std::nullopt;
    const float next = clampTo(tried * rule.sigmaGrowth, sigmaRange);
    if (*high <= fits || !(next > tried)) {
      const float t2 = clampTo(*high, t2Range);
      return ThresholdSuggestion{clampTo(t2 * rule.lowFraction, t1Range), t2, tried, steps};
    }
    tried = next;
  }
}
