// The engine's entry points for JavaScript: one detector that keeps its
// working memory between pictures, run on the calling thread, and the gray
// conversion of decoded pictures.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include <canny/canny.h>
#include <canny/stages.h>
#include "imaging/StageGray.h"
#include "web/engine/grayFromRgba.h"
#include "web/engine/shrinkRgba.h"

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

// Writes stage 0 (smoothed), 1 (gradient magnitude) or 2 (thinned magnitude)
// of the width x height gray bytes at `gray` as gray bytes into `shown`, as
// the desktop application draws it, and the value drawn as white into
// `white`; the result is canny::Status as a number.
EMSCRIPTEN_KEEPALIVE int cannyStage(const std::uint8_t *gray, std::int32_t width,
                                    std::int32_t height, float t1, float t2, float sigma,
                                    std::int32_t steps, std::int32_t stage, std::uint8_t *shown,
                                    float *white) {
  static constexpr canny::Stage kStages[] = {canny::Stage::smoothed, canny::Stage::magnitude,
                                             canny::Stage::thinned};
  if (stage < 0 || stage > 2 || width <= 0 || height <= 0)
    return static_cast<int>(canny::Status::invalidArgument);
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::unique_ptr<float[]> values(new (std::nothrow) float[count]);
  if (!values) return static_cast<int>(canny::Status::outOfMemory);
  const canny::Status status = canny::computeStage({gray, width, height, width}, kStages[stage],
                                                   values.get(), {t1, t2, sigma, steps});
  if (status != canny::Status::ok) return static_cast<int>(status);
  *white = stage == 0 ? 255.0f : largestValue(values.get(), count);
  drawStageGray(values.get(), count, *white, shown);
  return 0;
}

// Whole pixels in an eighth of a camera frame's width or height.
EMSCRIPTEN_KEEPALIVE int cannyEighthOf(std::int32_t length) { return eighthOf(length); }

// The width x height RGBA frame at `from` shrunk into toWidth x toHeight RGBA
// pixels at `to`; 0 when memory ran out.
EMSCRIPTEN_KEEPALIVE int cannyShrinkRgba(const std::uint8_t *from, std::int32_t width,
                                         std::int32_t height, std::uint8_t *to,
                                         std::int32_t toWidth, std::int32_t toHeight) {
  return shrinkRgba(from, width, height, to, toWidth, toHeight) ? 1 : 0;
}

// Gives the kept working memory back.
EMSCRIPTEN_KEEPALIVE void cannyReleaseMemory() { detector().releaseMemory(); }

}  // extern "C"
