// The engine's entry points for JavaScript: one detector that keeps its
// working memory between pictures, run on the calling thread, and the gray
// conversion of decoded pictures.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Readies the engine for camera frames: the browser first runs WebAssembly
// through a quick compiler and moves a function to its optimising one only
// once it has run a while, and the detector lays out its working memory on
// its first picture. Without this the first frames take five to ten times
// as long as the rest. A few detections of a synthetic 320 x 240 picture with
// edges everywhere, then one of a 640 x 480 frame.
EMSCRIPTEN_KEEPALIVE void cannyWarmUp() {
  canny::setThreadCount(1);
  const auto pattern = [](int width, int height) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        bytes[static_cast<std::size_t>(y) * width + x] = ((x / 16 + y / 12) % 3) * 90 + (x * y) % 7;
    return bytes;
  };
  const canny::Settings settings{2, 6, 2, 4};
  std::vector<std::uint8_t> small = pattern(320, 240);
  for (int i = 0; i < 8; ++i) {
    std::vector<std::uint8_t> bytes = small;
    detector().detect({bytes.data(), 320, 240, 320}, {bytes.data(), 320, 240, 320}, settings);
  }
  std::vector<std::uint8_t> frame = pattern(640, 480);
  detector().detect({frame.data(), 640, 480, 640}, {frame.data(), 640, 480, 640}, settings);
}

// The gray bytes of `count` opaque RGBA pixels, as the canny tool draws them.
EMSCRIPTEN_KEEPALIVE void cannyGrayFromRgba(const std::uint8_t *rgba, std::size_t count,
                                            std::uint8_t *gray) {
  grayFromRgba(rgba, count, gray);
}

// Gives the kept working memory back.
EMSCRIPTEN_KEEPALIVE void cannyReleaseMemory() { detector().releaseMemory(); }

}  // extern "C"
