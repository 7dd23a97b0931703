// Worked examples known exactly, at the bounds where a comparison one way or the other counts.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <canny/cannyEdgeDetector.h>
#include "engine/gradients.h"
#include "engine/planeDetector.h"

using namespace canny::detail;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// The float nearest 1e-6 lies below the double 1e-6: it counts as too small to divide by.
constexpr float kNearestMicro = 9.999999974752427e-7f;

// The edge map of the fast detector, checked against the plain form's.
Bytes detected(const Bytes &picture, int width, int height, float t1, float t2, float sigma = 0) {
  Bytes fast = picture, plain = picture;
  cannyEdgeDetector(t1, t2, sigma, 4, width, height, fast.data());
  EXPECT_TRUE(detectOnPaddedPlanes(t1, t2, sigma, 4, width, height, plain.data()));
  EXPECT_EQ(fast, plain) << "the plain form differs";
  return fast;
}

}  // namespace

// A flat picture has no gradient anywhere, its corners included, whatever the smoothing.
TEST(Detector, FlatPictureHasNoEdges) {
  for (auto [width, height] : {std::pair{2, 2}, std::pair{5, 3}, std::pair{2, 6}, std::pair{40, 9}})
    for (int v = 0; v < 256; v += 15)
      for (const float sigma : {0.0f, -1.0f, 0.5f, 2.0f, 9.0f}) {
        const Bytes flat(width * height, static_cast<std::uint8_t>(v)), none(flat.size(), 0);
        SCOPED_TRACE(testing::Message()
                     << width << "x" << height << " of " << v << " sigma " << sigma);
        // Unsmoothed, the least seed finds nothing; smoothing may round by far less than a level.
        const float seed = sigma > 0 ? 0.25f : 1e-6f;
        EXPECT_EQ(detected(flat, width, height, 0, seed, sigma), none);
        EXPECT_EQ(detected(flat, width, height, 3, 0, sigma), Bytes(flat.size(), 255)) << "T2 = 0";
      }
  EXPECT_EQ(detected({255}, 1, 1, 0, 0.001f), Bytes{0}) << "one pixel has no gradient";
}

TEST(Sector, AngleAndSectorBoundsAreDecimalValuesInDouble) {
  const float fixedRightAngle = 1.5707999467849731f;
  EXPECT_EQ(gradientAngle(1.0f, 1.0f), 0.7853982f);
  EXPECT_EQ(gradientAngle(0.0f, -5.0f), fixedRightAngle);
  EXPECT_EQ(gradientAngle(kNearestMicro, 1.0f), fixedRightAngle);
  EXPECT_EQ(gradientAngle(kNearestMicro, kNearestMicro), 0.0f);
  const float aboveMicro = std::nextafter(kNearestMicro, 1.0f);
  EXPECT_EQ(gradientAngle(aboveMicro, 1.0f), ::atanf(1.0f / aboveMicro));

  // The float nearest 0.3927, the next float up, and one just above pi / 8.
  const std::pair<double, int> cases[] = {
      {0.39269998669624329, 1}, {0.39270001649856567, 2}, {0.39269995689392090, 1}};
  for (auto [angle, sector] : cases) EXPECT_EQ(angleSector(angle), sector) << angle;
}

// Suppression finds a gradient's sector from its quotient alone: it must be the angle's sector for
// every float quotient near the bounds, at the tiny-difference threshold and on a sparse sweep.
TEST(Sector, SectorOfTheQuotientIsTheSectorOfTheAngle) {
  int disagreeing = 0;
  auto check = [&](float gx, float gy) {
    if (gradientSector(gx, gy) != angleSector(gradientAngle(gx, gy)) && disagreeing++ < 5)
      ADD_FAILURE() << "gx " << gx << " gy " << gy;
  };
  for (double bound : {0.3927, 1.1781}) {
    const auto centre = std::bit_cast<std::uint32_t>(static_cast<float>(std::tan(bound)));
    for (std::uint32_t bits = centre - (1u << 16); bits <= centre + (1u << 16); ++bits)
      for (float gx : {1.0f, -1.0f}) {
        check(gx, std::bit_cast<float>(bits));
        check(gx, -std::bit_cast<float>(bits));
      }
  }
  const float near[] = {0.0f, kNearestMicro, std::nextafter(kNearestMicro, 1.0f), 1.0f, kInf, kNaN};
  for (float gx : near)
    for (float gy : near)
      for (float sign : {1.0f, -1.0f}) check(gx * sign, gy), check(gx, gy * sign);
  for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += 65537)
    check(3.0f, std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
  EXPECT_EQ(disagreeing, 0);
}
