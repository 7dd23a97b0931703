// A detector kept across calls gives every picture a fresh one's edge map, whatever it held
// before: other sizes and settings, after a move and after its memory was released.
#include <gtest/gtest.h>

#include <utility>

#include <canny/EdgeDetector.h>
#include "TestPictures.h"
#include "engine/planeDetector.h"

using namespace canny::detail;

namespace {

struct Call {
  std::int32_t width, height;
  float t1, t2, sigma;
  std::int32_t steps;
};

std::vector<std::uint8_t> plainEdges(const Call &c, std::vector<std::uint8_t> bytes) {
  EXPECT_TRUE(detectOnPaddedPlanes(c.t1, c.t2, c.sigma, c.steps, c.width, c.height, bytes.data()));
  return bytes;
}

TEST(EdgeDetector, KeptAcrossCallsGivesWhatTheDefinitionGives) {
  const Call calls[] = {
      {300, 200, 2, 6, 2, 4}, {17, 9, 1, 3, 0, 1}, {5, 400, 2, 6, 1.5f, 2}, {400, 5, 0, 0.5f, 3, 3},
      {300, 200, 4, 4, 0, 1}, {1, 1, 0, 0, 2, 4},  {64, 64, 2, 6, 60, 8},
  };
  std::mt19937 rng(7);
  EdgeDetector kept;
  for (int round = 0; round < 2; ++round) {
    for (const Call &c : calls) {
      SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " sigma " << c.sigma);
      std::vector<std::uint8_t> bytes = c.sigma == 60 ? partlyOverflowingPicture(c.width, c.height)
                                                      : randomPicture(c.width, c.height, rng);
      const std::vector<std::uint8_t> expected = plainEdges(c, bytes);
      ASSERT_TRUE(kept.detect(c.t1, c.t2, c.sigma, c.steps, c.width, c.height, bytes.data()));
      EXPECT_EQ(bytes, expected);
    }
    EdgeDetector moved(std::move(kept));
    kept = std::move(moved);
    if (round == 0) kept.releaseMemory();
  }
}

}  // namespace
