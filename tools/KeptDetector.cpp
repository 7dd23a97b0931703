#include "tools/KeptDetector.h"

#include <memory>

#include "engine/EdgeDetector.h"

DetectorFunction keptDetector() {
  // Shared so that the function stays copyable; copies use one detector.
  return [detector = std::make_shared<EdgeDetector>()](float t1, float t2, float sigma,
                                                       std::int32_t steps, std::int32_t width,
                                                       std::int32_t height, std::uint8_t *data) {
    return detector->detect(t1, t2, sigma, steps, width, height, data);
  };
}
