#include "engine/cannyEdgeDetector.h"

#include "engine/planeDetector.h"
#include "engine/rowDetector.h"

bool tryCannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  switch (detectByRows(t1, t2, sigma, steps, width, height, data)) {
    case RowDetection::done:
      return true;
    case RowDetection::outOfMemory:
      return false;
    case RowDetection::needsColumnOrder:
      break;
  }
  return detectOnPaddedPlanes(t1, t2, sigma, steps, width, height, data);
}

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
}
