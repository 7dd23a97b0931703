#include "engine/cannyEdgeDetector.h"

#include "engine/planeDetector.h"
#include "engine/rowDetector.h"

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return;
  if (detectByRows(t1, t2, sigma, steps, width, height, data) == RowDetection::needsColumnOrder)
    detectOnPaddedPlanes(t1, t2, sigma, steps, width, height, data);
}
