// The fast detector's and the plain form's edge maps equal the reference detector's to the byte,
// for every family of pictures and settings below (each from its own seed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

#include <canny/cannyEdgeDetector.h>
#include "TestPictures.h"
#include "UnderAddressSanitizer.h"
#include "engine/planeDetector.h"
#include "reference/ReferenceDetector.h"

using namespace canny::detail;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Setting {
  Bytes picture;
  int width, height;
  float t1, t2, sigma;
  int steps;
};
using Settings = std::vector<Setting>;

Settings randomSettings() {
  std::mt19937 rng(41);
  auto count = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto real = [&](float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(rng);
  };
  Settings all;
  for (int round = 0; round < 300; ++round) {
    const int width = count(1, 40), height = count(1, 40);
    const float t1 = round % 10 == 1 ? real(-2, 0) : real(0, 10);
    const float t2 = round % 9 == 2 ? t1 : real(0, 10);
    const float sigma = round % 4 == 0 ? 0.0f : real(0.1f, 8);
    Bytes picture = randomPicture(width, height, rng);
    // Dim pictures, whose gray levels lie among the thresholds as their magnitudes do.
    if (round % 3 == 0)
      for (auto &b : picture) b /= 16;
    all.push_back({picture, width, height, t1, t2, sigma, count(0, 8)});
  }
  return all;
}

// Steps, lines and a checkerboard with gradients every way, ties between neighbours, thresholds at
// the magnitudes byte pictures give, and sizes of no pixel, whose buffer no form may touch.
Settings structuredSettings() {
  Settings all;
  const int width = 23, height = 17;
  for (int shape = 0; shape < 8; ++shape) {
    Bytes picture(width * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const bool inside[] = {x > 11,         y > 8,      x + y > 19,       x > y,
                               2 * x - y == 9, x == 2 * y, (x + y) % 2 == 1, x == 7 && y == 5};
        picture[y * width + x] = inside[shape] ? 200 : 10;
      }
    for (float t : {0.0f, 23.75f, 47.5f, 71.25f, 95.0f})
      for (float sigma : {0.0f, 1.0f})
        for (auto [t1, t2] : {std::pair{t, t}, std::pair{t / 2, t}, std::pair{t, t / 2}})
          all.push_back({picture, width, height, t1, t2, sigma, 2});
  }
  // Dim, with a seed at one corner only: the border's gray levels could be followed.
  Bytes dim(width * height, 5);
  dim[1] = 60;
  all.push_back({dim, width, height, 0.5f, 6, 0, 0});
  for (auto [emptyWidth, emptyHeight] : {std::pair{0, 4}, std::pair{-3, 4}, std::pair{4, -3}})
    all.push_back({Bytes(16, 0x5A), emptyWidth, emptyHeight, 2, 6, 2, 4});
  return all;
}

// Large enough to split the work, in shapes leaving odd remainders, and a faint line winding
// through a whole picture from one bright end: a chain longer than any machine stack could nest.
Settings largeSettings() {
  std::mt19937 rng(53);
  Settings all;
  for (auto [width, height] :
       {std::pair{1023, 769}, std::pair{2000, 3}, std::pair{3, 2000}, std::pair{641, 479}}) {
    const Bytes picture = randomPicture(width, height, rng);
    all.push_back({picture, width, height, 1, 5, 1.5f, 3});
    all.push_back({picture, width, height, 0.5f, 3, 0, 4});
  }
  const int width = ENGINE_TESTS_UNDER_ASAN ? 800 : 2000;
  const int height = ENGINE_TESTS_UNDER_ASAN ? 600 : 1500;
  Bytes winding(width * height, 0);
  for (int y = 2, turn = 0; y + 4 < height - 2; y += 4, ++turn) {
    for (int x = 2; x < width - 2; ++x) winding[y * width + x] = 10;
    for (int k = 1; k < 4; ++k) winding[(y + k) * width + (turn % 2 ? 2 : width - 3)] = 10;
  }
  winding[2 * width + 2] = 20;
  all.push_back({winding, width, height, 2, 6, 0, 0});
  return all;
}

// Smoothing that overflows to infinity in a bright region, partly or wholly, or to NaN.
Settings overflowingSettings() {
  std::mt19937 rng(59);
  Bytes square = randomPicture(48, 40, rng);
  for (int y = 5; y < 30; ++y)
    for (int x = 10; x < 40; ++x) square[y * 48 + x] = 255;
  Settings all;
  for (float sigma : {55.0f, 60.0f, kNaN, kInf, 1e-30f, 1e30f})
    for (int steps : {1, 7, 8})
      for (float t2 : {0.0f, 6.0f}) all.push_back({square, 48, 40, 2, t2, sigma, steps});
  const Bytes partly = partlyOverflowingPicture(400, 300);
  for (auto [t1, t2] : {std::pair{0.01f, 0.05f}, std::pair{0.01f, 2.0f}, std::pair{2.0f, 6.0f}})
    all.push_back({partly, 400, 300, t1, t2, 60.0f, 8});
  return all;
}

// Thresholds no slider gives: each call ends, stays in its buffers and gives the reference's map.
Settings extremeThresholdSettings() {
  std::mt19937 rng(61);
  const Bytes picture = randomPicture(30, 20, rng);
  Settings all;
  for (float t1 : {kNaN, -kInf, -1.0f, 0.0f, 2.0f, 255.0f, 300.0f, kInf})
    for (float t2 : {kNaN, -kInf, -1.0f, 0.0f, 6.0f, 255.0f, 300.0f, kInf}) {
      all.push_back({picture, 30, 20, t1, t2, 1.5f, 3});
      all.push_back({picture, 30, 20, t1, t2, 60.0f, 8});
    }
  return all;
}

// With CANNY_AGREEMENT_CASES=DIR set, each family's cases are also written to DIR/FAMILY.cases
// with the reference's maps, for other builds of the engine (WebAssembly) to check against: per
// case, width, height, t1, t2, sigma, steps and the picture's length as little-endian 32-bit
// numbers, then the picture and the reference's map.
void writeCase(const Setting &s, const Bytes &expected) {
  const char *dir = std::getenv("CANNY_AGREEMENT_CASES");
  if (!dir) return;
  const std::string family = testing::UnitTest::GetInstance()->current_test_info()->name();
  std::ofstream out(std::string(dir) + "/" + family + ".cases", std::ios::binary | std::ios::app);
  const std::uint32_t length = s.picture.size();
  const auto put = [&](const auto &field) {
    static_assert(sizeof field == 4);
    out.write(reinterpret_cast<const char *>(&field), 4);
  };
  put(s.width), put(s.height), put(s.t1), put(s.t2), put(s.sigma), put(s.steps), put(length);
  out.write(reinterpret_cast<const char *>(s.picture.data()), length);
  out.write(reinterpret_cast<const char *>(expected.data()), length);
  ASSERT_TRUE(out.good()) << "cannot write the cases to " << dir;
}

void expectAgreement(const Settings &settings) {
  for (const Setting &s : settings) {
    SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " T1 " << s.t1 << " T2 "
                                    << s.t2 << " sigma " << s.sigma << " steps " << s.steps);
    Bytes expected = s.picture, fast = s.picture, plain = s.picture;
    reference::detect(s.t1, s.t2, s.sigma, s.steps, s.width, s.height, expected.data());
    writeCase(s, expected);
    cannyEdgeDetector(s.t1, s.t2, s.sigma, s.steps, s.width, s.height, fast.data());
    ASSERT_TRUE(fast == expected) << "the fast detector differs";
    ASSERT_TRUE(
        detectOnPaddedPlanes(s.t1, s.t2, s.sigma, s.steps, s.width, s.height, plain.data()));
    ASSERT_TRUE(plain == expected) << "the plain form differs";
  }
}

TEST(Agreement, Random) { expectAgreement(randomSettings()); }
TEST(Agreement, Structured) { expectAgreement(structuredSettings()); }
TEST(Agreement, Large) { expectAgreement(largeSettings()); }
TEST(Agreement, Overflowing) { expectAgreement(overflowingSettings()); }
TEST(Agreement, ExtremeThresholds) { expectAgreement(extremeThresholdSettings()); }

// Sigmas so small that the smoothing constants lose their digits one way of computing them: the
// edge maps agree and barely differ from the unsmoothed one, as sigma grows from 0.
TEST(Agreement, TinySigmas) {
  std::mt19937 rng(67);
  const Bytes picture = randomPicture(120, 90, rng);
  Settings all;
  for (int steps : {1, 4, 8})
    for (float sigma : {0.0f, 1e-6f, 1e-5f, 2e-4f, 2.5e-4f, 1e-3f, 1e-2f})
      all.push_back({picture, 120, 90, 2, 6, sigma, steps});
  expectAgreement(all);
  const auto edgeCount = [&](const Setting &s) {
    Bytes edges = s.picture;
    cannyEdgeDetector(s.t1, s.t2, s.sigma, s.steps, s.width, s.height, edges.data());
    return std::count(edges.begin(), edges.end(), 255);
  };
  const auto unsmoothed = edgeCount(all[0]);
  for (const Setting &s : all)
    EXPECT_NEAR(edgeCount(s), unsmoothed, unsmoothed / 100) << s.sigma << " with " << s.steps;
}

}  // namespace
