#include "engine/cannyEdgeDetector.h"

#include "engine/EdgeDetector.h"

bool tryCannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  EdgeDetector detector;
  return detector.detect(t1, t2, sigma, steps, width, height, data);
}

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
}
