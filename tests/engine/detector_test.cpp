// The whole detector over a gray buffer: sizes that touch nothing, worked
// pictures, threshold corner cases, and agreement with the plain detector.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include "TestPictures.h"
#include "UnderAddressSanitizer.h"
#include "engine/cannyEdgeDetector.h"
#include "reference/ReferenceDetector.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes detected(Bytes picture, int width, int height, float t1, float t2, float sigma = 0,
               int steps = 4) {
  cannyEdgeDetector(t1, t2, sigma, steps, width, height, picture.data());
  return picture;
}

// The gradient magnitude at a corner of a uniform picture of value v: the
// border cell beyond the corner is 0, every other neighbour is v.
float cornerMagnitude(float v) {
  const float g = v * 0.125f;
  return std::sqrt(g * g + g * g);
}

// The engine's edge map must equal the plain detector's, byte for byte.
void expectAgreement(const Bytes &picture, int width, int height, float t1, float t2, float sigma,
                     int steps) {
  Bytes expected = picture;
  reference::detect(t1, t2, sigma, steps, width, height, expected.data());
  ASSERT_EQ(detected(picture, width, height, t1, t2, sigma, steps), expected)
      << width << "x" << height << " T1 " << t1 << " T2 " << t2 << " sigma " << sigma << " steps "
      << steps;
}

Bytes cornersOnly(int width, int height) {
  Bytes expected(static_cast<std::size_t>(width) * height, 0);
  expected[0] = expected[width - 1] = 255;
  expected[static_cast<std::size_t>(height - 1) * width] = expected.back() = 255;
  return expected;
}

}  // namespace

TEST(Detector, EmptyOrNegativeSizeTouchesNoByte) {
  const Bytes canary(16, 0x5A);
  for (auto [width, height] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{0, 0}, std::pair{-3, 4},
                               std::pair{4, -3}, std::pair{-1, -1}})
    EXPECT_EQ(detected(canary, width, height, 2, 6, 2), canary) << width << "x" << height;
  cannyEdgeDetector(2, 6, 2, 4, 0, 0, nullptr);
}

TEST(Detector, WritesOnly0And255AndNothingBeyondThePicture) {
  std::mt19937 rng(31);
  const int width = 37, height = 23;
  Bytes buffer = randomPicture(width, height, rng);
  buffer.resize(buffer.size() + 64, 0x77);
  cannyEdgeDetector(1, 4, 1.5f, 3, width, height, buffer.data());
  for (int i = 0; i < width * height; ++i) ASSERT_TRUE(buffer[i] == 0 || buffer[i] == 255) << i;
  for (std::size_t i = static_cast<std::size_t>(width) * height; i < buffer.size(); ++i)
    ASSERT_EQ(buffer[i], 0x77);
}

TEST(Detector, UniformPictureHasEdgesAtItsFourCornersOnly) {
  EXPECT_NEAR(cornerMagnitude(255), 45.078056f, 1e-5f);
  for (auto [width, height] :
       {std::pair{2, 2}, std::pair{5, 3}, std::pair{2, 6}, std::pair{16, 16}})
    for (int v : {1, 8, 100, 255}) {
      const Bytes uniform(static_cast<std::size_t>(width) * height, static_cast<std::uint8_t>(v));
      const float m = cornerMagnitude(static_cast<float>(v)), above = std::nextafter(m, 1000.0f);
      EXPECT_EQ(detected(uniform, width, height, m, m), cornersOnly(width, height))
          << width << "x" << height << " of " << v
          << ": a magnitude equal to both thresholds stays";
      EXPECT_EQ(detected(uniform, width, height, 0, m, -1), cornersOnly(width, height))
          << "negative sigma";
      EXPECT_EQ(detected(uniform, width, height, 8, 6),
                v >= 100 ? cornersOnly(width, height) : Bytes(uniform.size(), 0))
          << "T1 above T2";
      EXPECT_EQ(detected(uniform, width, height, above, m), Bytes(uniform.size(), 0))
          << "cut below T1";
      EXPECT_EQ(detected(uniform, width, height, 0, above), Bytes(uniform.size(), 0)) << "no seed";
    }
}

TEST(Detector, OnePixelPictureHasNoGradient) {
  EXPECT_EQ(detected({200}, 1, 1, 0, 0.001f), Bytes{0});
  EXPECT_EQ(detected({200}, 1, 1, 2, 0), Bytes{255});
}

// Columns 0-3 black, 4-7 white: the step leaves an edge two pixels wide, and
// the white side's corners meet the 0 of the border's corner cells.
TEST(Detector, SharpStepLeavesAnEdgeTwoPixelsWide) {
  const int width = 8, height = 6;
  Bytes step(width * height), expected(width * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      step[y * width + x] = x >= 4 ? 255 : 0;
      expected[y * width + x] =
          x == 3 || x == 4 || (x == 7 && (y == 0 || y == height - 1)) ? 255 : 0;
    }
  EXPECT_EQ(detected(step, width, height, 2, 6), expected);
}

TEST(Detector, ThresholdsThatDecideAlone) {
  std::mt19937 rng(37);
  const Bytes picture = randomPicture(20, 15, rng);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(detected(picture, 20, 15, 3, 0, 2), Bytes(picture.size(), 255))
      << "T2 = 0 seeds every pixel";
  EXPECT_EQ(detected(picture, 20, 15, nan, 0, 2), Bytes(picture.size(), 255))
      << "cut cells are seeds too";
  EXPECT_EQ(detected(picture, 20, 15, nan, 6, 2), Bytes(picture.size(), 0))
      << "T1 NaN cuts every magnitude";
}

TEST(Detector, AgreesWithThePlainDetectorToTheBit) {
  std::mt19937 rng(41);
  for (int round = 0; round < 300; ++round) {
    const bool large = round % 50 == 0;
    const int width = large ? 241 : std::uniform_int_distribution<int>(1, 40)(rng);
    const int height = large ? 187 : std::uniform_int_distribution<int>(1, 40)(rng);
    const float t1 = round % 10 == 1 ? randomFloat(rng, -2, 0) : randomFloat(rng, 0, 10);
    const float t2 = randomFloat(rng, 0, 10);
    const float sigma = round % 4 == 0    ? 0.0f
                        : round % 25 == 3 ? randomFloat(rng, 52, 60)
                                          : randomFloat(rng, 0.1f, 8);
    const int steps = std::uniform_int_distribution<int>(0, 8)(rng);
    expectAgreement(randomPicture(width, height, rng), width, height, t1, t2, sigma, steps);
  }
}

// Large enough for the work to be split, in shapes that leave odd remainders.
TEST(Detector, LargePicturesAgreeWithThePlainDetector) {
  std::mt19937 rng(53);
  for (auto [width, height] :
       {std::pair{1023, 769}, std::pair{2000, 3}, std::pair{3, 2000}, std::pair{641, 479}}) {
    const Bytes picture = randomPicture(width, height, rng);
    expectAgreement(picture, width, height, 1, 5, 1.5f, 3);
    expectAgreement(picture, width, height, 0.5f, 3, 0, 4);
  }
}

// Smoothing that overflows to infinity in a bright region, or that turns
// every sample into NaN: the later stages must still agree to the byte.
TEST(Detector, RunawaySmoothingAgreesWithThePlainDetector) {
  std::mt19937 rng(59);
  Bytes picture = randomPicture(48, 40, rng);
  for (int y = 5; y < 30; ++y)
    for (int x = 10; x < 40; ++x) picture[y * 48 + x] = 255;
  const float nan = std::numeric_limits<float>::quiet_NaN(),
              inf = std::numeric_limits<float>::infinity();
  for (float sigma : {55.0f, 60.0f, nan, inf, 1e-30f, 1e30f})
    for (int steps : {1, 7, 8})
      for (float t2 : {0.0f, 6.0f}) expectAgreement(picture, 48, 40, 2, t2, sigma, steps);
  // Infinite near the square, finite far from it, low thresholds keep the faint slopes.
  const Bytes partly = partlyOverflowingPicture(400, 300);
  for (auto [t1, t2] : {std::pair{0.01f, 0.05f}, std::pair{0.01f, 2.0f}, std::pair{2.0f, 6.0f}})
    expectAgreement(partly, 400, 300, t1, t2, 60.0f, 8);
}

// Thresholds no slider gives, with ordinary and with overflowing smoothing:
// every call ends, stays inside its buffers, and matches the plain detector.
TEST(Detector, ThresholdsBeyondTheSlidersAgreeWithThePlainDetector) {
  std::mt19937 rng(61);
  const Bytes picture = randomPicture(30, 20, rng);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float t1 : {nan, -inf, -1.0f, 0.0f, 2.0f, 255.0f, 300.0f, inf})
    for (float t2 : {nan, -inf, -1.0f, 0.0f, 6.0f, 255.0f, 300.0f, inf}) {
      expectAgreement(picture, 30, 20, t1, t2, 1.5f, 3);
      expectAgreement(picture, 30, 20, t1, t2, 60.0f, 8);
    }
}

// A faint line winding through the whole picture, one bright spot on it: its
// two flanks are chains of followable cells millions long, which a trace that
// nested on the machine stack could not follow to the end.
TEST(Detector, EdgeWindingThroughTheWholePictureIsFollowedToItsEnd) {
  const int width = ENGINE_TESTS_UNDER_ASAN ? 1600 : 8000;
  const int height = ENGINE_TESTS_UNDER_ASAN ? 1200 : 6000;
  Bytes picture(static_cast<std::size_t>(width) * height, 0);
  auto at = [&](int x, int y) -> std::uint8_t & {
    return picture[static_cast<std::size_t>(y) * width + x];
  };
  for (int y = 2, turn = 0; y + 4 < height - 2; y += 4, ++turn) {
    for (int x = 2; x < width - 2; ++x) at(x, y) = 10;
    for (int k = 1; k < 4; ++k) at(turn % 2 ? 2 : width - 3, y + k) = 10;
  }
  at(2, 2) = 20;
  Bytes expected = picture;
  reference::detect(2, 6, 0, 0, width, height, expected.data());
  const Bytes got = detected(picture, width, height, 2, 6, 0, 0);
  EXPECT_GT(std::count(expected.begin(), expected.end(), 255), std::ptrdiff_t{width} * height / 3);
  EXPECT_TRUE(got == expected) << "the edge maps differ";
}

TEST(Detector, CallsOnSeparateBuffersDoNotInterfere) {
  std::mt19937 rng(43);
  std::vector<Bytes> pictures, alone, together;
  for (int i = 0; i < 4; ++i) {
    pictures.push_back(randomPicture(160, 120, rng));
    alone.push_back(detected(pictures.back(), 160, 120, 1, 5, 1.5f, 3));
  }
  together = pictures;
  std::vector<std::thread> threads;
  for (auto &buffer : together)
    threads.emplace_back([&buffer] {
      for (int repeat = 0; repeat < 3; ++repeat) buffer = detected(buffer, 160, 120, 1, 5, 1.5f, 3);
    });
  for (auto &t : threads) t.join();
  // An edge map run through again is a new picture; compare with the same chain.
  for (auto &buffer : alone)
    for (int repeat = 0; repeat < 2; ++repeat) buffer = detected(buffer, 160, 120, 1, 5, 1.5f, 3);
  EXPECT_EQ(together, alone);
}
