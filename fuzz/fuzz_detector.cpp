// The whole detector with any parameters at all: thresholds and sigma of any
// bits (NaN, infinities, negatives, huge), steps from -2 to 9, sizes from -2
// to 64 (fuzz_detector) or those times 8 (fuzz_detector_large, built with
// CANNY_FUZZ_SCALE=8: pictures big enough for the detector to split its work
// over threads). Checks, on every input:
// - nothing but the buffer is touched (it is allocated to the exact byte, so
//   AddressSanitizer sees any step outside);
// - a finished run leaves only 0 and 255; an empty picture, or a run that ran
//   out of memory, leaves the buffer as it was;
// - the fast pipeline gives byte for byte the map of the plain, column-order
//   one over padded planes.
//
// Input: width, height (one byte each), t1, t2, sigma (each a flag byte, then
// if the flag is odd four bytes of big endian float bits, else one byte b
// giving b / 8 for the thresholds and b / 4 for sigma), steps (one byte), then
// pixels, repeated as often as the picture needs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <canny/cannyEdgeDetector.h>
#include "engine/planeDetector.h"
#include "fuzzInput.h"

#ifndef CANNY_FUZZ_SCALE
#define CANNY_FUZZ_SCALE 1
#endif

using namespace canny::detail;

namespace {

void fail(const char *what) {
  std::fprintf(stderr, "fuzz_detector: %s\n", what);
  std::abort();
}

// Exactly `count` bytes on the heap, so the sanitizer's red zones hug them.
struct ExactBuffer {
  explicit ExactBuffer(const std::vector<std::uint8_t> &bytes)
      : size(bytes.size()), data(new std::uint8_t[bytes.size()]) {
    std::memcpy(data, bytes.data(), size);
  }
  ~ExactBuffer() { delete[] data; }
  ExactBuffer(const ExactBuffer &) = delete;
  ExactBuffer &operator=(const ExactBuffer &) = delete;
  bool operator==(const std::vector<std::uint8_t> &bytes) const {
    return std::memcmp(data, bytes.data(), size) == 0;
  }
  std::size_t size;
  std::uint8_t *data;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput in(data, size);
  const std::int32_t width = in.inRange(-2, 64) * CANNY_FUZZ_SCALE;
  const std::int32_t height = in.inRange(-2, 64) * CANNY_FUZZ_SCALE;
  // Without smoothing, gradients of byte pictures are multiples of 1/8, and so
  // are many magnitudes: thresholds on that grid meet them exactly.
  const float t1 = in.gridOrAnyFloat(0.125f);
  const float t2 = in.gridOrAnyFloat(0.125f);
  const float sigma = in.gridOrAnyFloat(0.25f);
  const std::int32_t steps = in.inRange(-2, 9);

  const bool empty = width <= 0 || height <= 0;
  // An empty picture still gets a few bytes, to show that none is touched.
  const std::size_t count = empty ? 16 : static_cast<std::size_t>(width) * height;
  std::vector<std::uint8_t> pixels(count, 0);
  const std::size_t given = in.remaining();
  for (std::size_t i = 0; i < count && given > 0; ++i) pixels[i] = in.peek(i % given);

  ExactBuffer fast(pixels);
  const bool finished = tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, fast.data);
  if (empty || !finished) {
    if (!(fast == pixels)) fail("an empty or unfinished picture's buffer changed");
    return 0;
  }
  for (std::size_t i = 0; i < count; ++i)
    if (fast.data[i] != 0 && fast.data[i] != 255) fail("a byte other than 0 or 255");

  ExactBuffer plain(pixels);
  if (!detectOnPaddedPlanes(t1, t2, sigma, steps, width, height, plain.data)) return 0;
  if (std::memcmp(fast.data, plain.data, count) != 0)
    fail("the detector's map differs from the plain pipeline's");
  return 0;
}
