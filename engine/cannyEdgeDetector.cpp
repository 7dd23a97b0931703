#include <canny/canny.h>
#include <canny/cannyEdgeDetector.h>

bool tryCannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  // Sizes of 0 or less have always been an empty picture here, never an error.
  if (width <= 0 || height <= 0) return true;
  const canny::ImageView bytes{data, width, height, width};
  return canny::detectEdges({data, width, height, width}, bytes, {t1, t2, sigma, steps}) ==
         canny::Status::ok;
}

void cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data) {
  tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
}
