// The engine's entry points for JavaScript: one detector that keeps its
// working memory between pictures, run on the calling thread, and the gray
// conversion of decoded pictures.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>

#include <canny/canny.h>
#include "web/engine/grayFromRgba.h"

namespace {
canny::Detector &detector() {
  static canny::Detector kept;
  return kept;
}
}  // namespace

extern "C" {

// Rewrites the width x height gray bytes at `data` with their edge map; the
// result is canny::Status as a number (0 for ok).
EMSCRIPTEN_KEEPALIVE int cannyDetect(std::uint8_t *data, std::int32_t width, std::int32_t height,
                                     float t1, float t2, float sigma, std::int32_t steps) {
  // The page has no threads to share the work with.
  canny::setThreadCount(1);
  const canny::Settings settings{t1, t2, sigma, steps};
  return static_cast<int>(
      detector().detect({data, width, height, width}, {data, width, height, width}, settings));
}

// The gray bytes of `count` opaque RGBA pixels, as the canny tool draws them.
EMSCRIPTEN_KEEPALIVE void cannyGrayFromRgba(const std::uint8_t *rgba, std::size_t count,
                                            std::uint8_t *gray) {
  grayFromRgba(rgba, count, gray);
}

// Gives the kept working memory back.
EMSCRIPTEN_KEEPALIVE void cannyReleaseMemory() { detector().releaseMemory(); }

}  // extern "C"
