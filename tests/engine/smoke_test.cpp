#include <gtest/gtest.h>

#include <vector>

#include "engine/cannyEdgeDetector.h"

TEST(Detector, UniformPictureHasCornerEdgesOnly) {
  std::vector<std::uint8_t> data(16 * 16, 255);
  cannyEdgeDetector(2, 6, 0, 4, 16, 16, data.data());
  for (auto b : data) EXPECT_TRUE(b == 0 || b == 255);
  EXPECT_EQ(data[0], 255);
  EXPECT_EQ(data[1], 0);
}
