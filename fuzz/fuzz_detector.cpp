// The whole detector on small pictures with any parameters at all: thresholds
// and sigma of any bits (NaN, infinities, negatives, huge), steps from -2 to 9,
// sizes from -2 to 64. It must not crash, must touch nothing but the buffer
// (which is allocated to the exact byte, so AddressSanitizer sees any step
// outside), must leave only 0 and 255 in it, must give the same map twice,
// and must leave an empty picture's buffer alone.
//
// Input: width, height (one byte each), t1, t2, sigma (four bytes each, big
// endian float bits), steps (one byte), then the pixels row by row.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/cannyEdgeDetector.h"
#include "fuzzInput.h"

namespace {

void fail(const char *what) {
  std::fprintf(stderr, "fuzz_detector: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput in(data, size);
  const std::int32_t width = in.inRange(-2, 64);
  const std::int32_t height = in.inRange(-2, 64);
  const float t1 = in.anyFloat();
  const float t2 = in.anyFloat();
  const float sigma = in.anyFloat();
  const std::int32_t steps = in.inRange(-2, 9);

  const bool empty = width <= 0 || height <= 0;
  // An empty picture still gets a few bytes, to show that none is touched.
  const std::size_t count = empty ? 16 : static_cast<std::size_t>(width) * height;
  std::vector<std::uint8_t> pixels(count);
  for (std::uint8_t &p : pixels) p = in.byte();

  // Exactly `count` bytes on the heap, so the sanitizer's red zones hug them.
  auto *first = new std::uint8_t[count];
  auto *second = new std::uint8_t[count];
  std::memcpy(first, pixels.data(), count);
  std::memcpy(second, pixels.data(), count);
  cannyEdgeDetector(t1, t2, sigma, steps, width, height, first);
  cannyEdgeDetector(t1, t2, sigma, steps, width, height, second);

  if (empty) {
    if (std::memcmp(first, pixels.data(), count) != 0) fail("an empty picture's buffer changed");
  } else {
    for (std::size_t i = 0; i < count; ++i)
      if (first[i] != 0 && first[i] != 255) fail("a byte other than 0 or 255 in the edge map");
  }
  if (std::memcmp(first, second, count) != 0) fail("two runs on one input gave different maps");
  delete[] first;
  delete[] second;
  return 0;
}
