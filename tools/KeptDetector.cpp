#include "tools/KeptDetector.h"

#include <memory>

#include <canny/canny.h>

DetectorFunction keptDetector() {
  // Shared so that the function stays copyable; copies use one detector.
  return [detector = std::make_shared<canny::Detector>()](float t1, float t2, float sigma,
                                                          std::int32_t steps, std::int32_t width,
                                                          std::int32_t height, std::uint8_t *data) {
    // Sizes of 0 or less are an empty picture, as for the other entries.
    if (width <= 0 || height <= 0) return true;
    const canny::ImageView bytes{data, width, height, width};
    return detector->detect({data, width, height, width}, bytes, {t1, t2, sigma, steps}) ==
           canny::Status::ok;
  };
}
