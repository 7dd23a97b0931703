// Recursive Gaussian smoothing: derived constants, worked examples, the cases
// that must leave the picture alone, and the filter's shape.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "TestPictures.h"
#include "engine/smoothGaussian.h"
#include "reference/ReferenceDetector.h"

namespace {

std::vector<float> smoothed(std::vector<float> image, int width, int height, float sigma,
                            int steps) {
  smoothGaussian(image.data(), width, height, sigma, steps);
  return image;
}

}  // namespace

TEST(Smoothing, ConstantsOfKnownSettings) {
  const SmoothingConstants two1 = smoothingConstants(2.0f, 1);
  EXPECT_EQ(two1.lambda, 2.0);
  EXPECT_EQ(two1.nu, 0.5);
  EXPECT_EQ(two1.boundaryScale, 2.0);
  EXPECT_EQ(two1.gain, 0.0625);

  const SmoothingConstants two4 = smoothingConstants(2.0f, 4);
  EXPECT_EQ(two4.lambda, 0.5);
  EXPECT_NEAR(two4.nu, 0.2679491924, 1e-10);
  EXPECT_NEAR(two4.boundaryScale, 1.3660254038, 1e-10);
  EXPECT_NEAR(two4.gain, 0.0068023596, 1e-10);

  const SmoothingConstants one4 = smoothingConstants(1.0f, 4);
  EXPECT_EQ(one4.lambda, 0.125);
  EXPECT_NEAR(one4.nu, 0.1010205144, 1e-10);
  EXPECT_NEAR(one4.boundaryScale, 1.1123724357, 1e-10);
  EXPECT_NEAR(one4.gain, 0.1819686202, 1e-10);
}

TEST(Smoothing, WorkedExamplesComeOutExactly) {
  const std::vector<float> spread{0.75f, 1.5f, 1.0f};
  EXPECT_EQ(smoothed({0, 4, 0}, 3, 1, 2.0f, 1), spread) << "as a row";
  EXPECT_EQ(smoothed({0, 4, 0}, 1, 3, 2.0f, 1), spread) << "as a column";
  EXPECT_EQ(smoothed({8, 0, 0, 0}, 2, 2, 2.0f, 1), (std::vector<float>{4.5f, 3, 3, 2}));
  EXPECT_EQ(smoothed({10}, 1, 1, 2.0f, 1), std::vector<float>{10}) << "B four times, then G";
}

TEST(Smoothing, SettingsThatSmoothNothingLeaveEveryBitAlone) {
  std::mt19937 rng(7);
  std::vector<float> image(12 * 9);
  for (float &v : image) v = randomFloat(rng, 0, 255);
  image[5] = -0.0f;
  const float nothing[][2] = {
      {0.0f, 4}, {-0.0f, 4}, {-3.0f, 4}, {-std::numeric_limits<float>::infinity(), 4},
      {2.0f, 0}, {60.0f, 0}, {2.0f, -1}, {2.0f, -2147483647 - 1}};
  for (const auto &[sigma, steps] : nothing)
    EXPECT_TRUE(sameBits(smoothed(image, 12, 9, sigma, static_cast<int>(steps)), image))
        << "sigma " << sigma << " steps " << steps;
}

TEST(Smoothing, EmptyImageIsNeitherReadNorWritten) {
  std::vector<float> canary(4, 42.0f);
  smoothGaussian(canary.data(), 0, 5, 2.0f, 4);
  smoothGaussian(canary.data(), 5, 0, 2.0f, 4);
  smoothGaussian(nullptr, 0, 0, 2.0f, 4);
  EXPECT_EQ(canary, std::vector<float>(4, 42.0f));
}

TEST(Smoothing, UniformImageKeepsItsValue) {
  for (float sigma : {0.5f, 2.0f, 10.0f, 60.0f})
    for (int steps : {1, 4, 7})
      for (float value : {1.0f, 255.0f}) {
        const auto out = smoothed(std::vector<float>(23 * 17, value), 23, 17, sigma, steps);
        for (float v : out)
          ASSERT_NEAR(v, value, value * 1e-5) << "sigma " << sigma << " steps " << steps;
      }
}

// Far from both ends a unit impulse spreads into a response of unit weight
// and variance sigma squared, whatever the number of passes.
TEST(Smoothing, ImpulseSpreadsWithUnitSumAndVarianceSigmaSquared) {
  for (float sigma : {1.0f, 2.0f, 5.0f})
    for (int steps : {1, 4, 8}) {
      const int centre = static_cast<int>(12 * sigma) + 5, width = 2 * centre + 1;
      std::vector<float> row(width, 0.0f);
      row[centre] = 1.0f;
      row = smoothed(row, width, 1, sigma, steps);
      double sum = 0, variance = 0;
      for (int x = 0; x < width; ++x) {
        sum += row[x];
        variance += row[x] * double(x - centre) * (x - centre);
      }
      EXPECT_NEAR(sum, 1.0, 1e-3) << "sigma " << sigma << " steps " << steps;
      EXPECT_NEAR(variance, sigma * sigma, sigma * sigma * 1e-3)
          << "sigma " << sigma << " steps " << steps;
    }
}

// Samples stay unnormalised until the final gain: eight passes of a wide
// filter carry a bright region past the float range, seven do not.
TEST(Smoothing, EightPassesOfTheWidestFilterOverflowABrightRegion) {
  for (float v : smoothed(std::vector<float>(6 * 5, 255.0f), 6, 5, 60.0f, 7))
    ASSERT_TRUE(std::isfinite(v));
  for (float v : smoothed(std::vector<float>(6 * 5, 255.0f), 6, 5, 60.0f, 8))
    ASSERT_TRUE(std::isinf(v));
}

TEST(Smoothing, MatchesThePlainSweepsToTheBit) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 200; ++round) {
    const int width = std::uniform_int_distribution<int>(1, 40)(rng);
    const int height = std::uniform_int_distribution<int>(1, 40)(rng);
    const float sigma = round % 10 == 0 ? 60.0f : randomFloat(rng, 0.05f, 20.0f);
    const int steps = std::uniform_int_distribution<int>(0, 8)(rng);
    const auto bytes = randomPicture(width, height, rng);
    std::vector<float> expected(bytes.begin(), bytes.end());
    reference::smooth(expected, width, height, sigma, steps);
    ASSERT_TRUE(
        sameBits(smoothed({bytes.begin(), bytes.end()}, width, height, sigma, steps), expected))
        << width << "x" << height << " sigma " << sigma << " steps " << steps;
  }
}
