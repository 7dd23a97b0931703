// The fast smoothing into the grid of rows gives every sample the very bits smoothGaussian gives it
// (edge maps forgive a wrong low bit too often). Sizes straddle the blocks of lines, their tiles
// and the 8 x 8 transposes; large pictures split the work over threads, the largest is written past
// the caches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "TestPictures.h"
#include "engine/rowGrid.h"
#include "engine/rowSmoothing.h"
#include "engine/smoothGaussian.h"

using namespace canny::detail;

namespace {

TEST(RowSmoothing, EverySampleHasTheBitsOfTheFlatSmoothing) {
  const std::int32_t sizes[][2] = {{1, 1},    {1, 70},    {70, 1},    {7, 9},      {15, 17},
                                   {33, 31},  {65, 63},   {100, 97},  {129, 40},   {40, 129},
                                   {20, 150}, {600, 300}, {300, 600}, {2400, 1800}};
  const float sigmas[] = {0.5f, 2.0f, 13.0f, 60.0f};
  std::mt19937 rng(11);
  for (const auto &size : sizes) {
    const std::int32_t w = size[0], h = size[1];
    RowGrid grid;  // fresh, so that its memory is what this size asks for
    for (int round = 0; round < 3; ++round) {
      const float sigma = sigmas[rng() % 4];
      const std::int32_t steps = sigma == 60.0f ? 8 : 1 + static_cast<std::int32_t>(rng() % 8);
      SCOPED_TRACE(testing::Message() << w << "x" << h << " sigma " << sigma << " steps " << steps);
      // Bright pictures under the widest smoothing overflow: the flag must say so.
      const std::vector<std::uint8_t> bytes =
          sigma == 60.0f ? std::vector<std::uint8_t>(w * h, 255) : randomPicture(w, h, rng);
      std::vector<float> flat(bytes.begin(), bytes.end());
      smoothGaussian(flat.data(), w, h, sigma, steps);
      bool safe = true;
      for (const float v : flat) safe = safe && std::fabs(v) < kSafeMagnitude;

      ASSERT_TRUE(grid.shape(w, h));
      EXPECT_EQ(loadSmoothed({bytes.data(), w}, grid, sigma, steps), safe);
      for (std::int32_t y = 0; y < h; ++y)
        ASSERT_FALSE(std::memcmp(grid.rows[y + 1] + 1, flat.data() + std::size_t(y) * w,
                                 std::size_t(w) * sizeof(float)))
            << "row " << y;
    }
  }
}

}  // namespace
