// Gradient direction: the angle with its fixed answers, the four sectors and
// their bounds, and the quick sector test that must agree with both.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "UnderAddressSanitizer.h"
#include "engine/gradients.h"
#include "reference/ReferenceDetector.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

float floatAbove(float v) { return std::nextafter(v, kInf); }

float floatFromBits(std::uint32_t bits) {
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::uint32_t bitsOf(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

void expectQuickSectorAgrees(float gx, float gy) {
  ASSERT_EQ(gradientSector(gx, gy), angleSector(gradientAngle(gx, gy)))
      << "gx " << gx << " gy " << gy;
}

}  // namespace

TEST(Angle, ArcTangentOfTheQuotient) {
  EXPECT_EQ(gradientAngle(1.0f, 1.0f), 0.7853982f);
  EXPECT_EQ(gradientAngle(-2.0f, 2.0f), ::atanf(-1.0f));
  EXPECT_EQ(gradientAngle(3.0f, 0.0f), 0.0f);
  EXPECT_TRUE(std::isnan(gradientAngle(kNaN, 1.0f)));
  EXPECT_TRUE(std::isnan(gradientAngle(kInf, kInf)));
}

TEST(Angle, TinyHorizontalDifferenceGivesFixedAnswers) {
  const float fixedRightAngle = 1.5707999467849731f;
  for (float gy : {5.0f, -5.0f, 1e-5f, kInf, kNaN})
    EXPECT_EQ(gradientAngle(0.0f, gy), fixedRightAngle) << gy;
  EXPECT_EQ(gradientAngle(-3e-7f, 2.0f), fixedRightAngle);
  EXPECT_EQ(gradientAngle(5e-7f, -9e-7f), 0.0f);
  EXPECT_EQ(gradientAngle(0.0f, 0.0f), 0.0f);

  // The threshold is the double 1e-6: the float nearest it lies below it.
  const float nearest = 9.999999974752427e-7f;
  EXPECT_EQ(gradientAngle(nearest, 1.0f), fixedRightAngle);
  EXPECT_EQ(gradientAngle(-nearest, 1.0f), fixedRightAngle);
  EXPECT_EQ(gradientAngle(floatAbove(nearest), 1.0f), ::atanf(1.0f / floatAbove(nearest)));
  EXPECT_EQ(gradientAngle(1.0f, nearest), ::atanf(nearest));
  EXPECT_EQ(gradientAngle(nearest, nearest), 0.0f);
  EXPECT_EQ(gradientAngle(nearest, floatAbove(nearest)), fixedRightAngle);
}

TEST(Sector, BoundsAreTheDecimalValuesInDouble) {
  // clang-format off
  const struct {
    double angle;
    int sector;
  } cases[] = {
      {0.0, 1}, {0.39269998669624329, 1}, {0.39270001649856567, 2}, {0.39269995689392090, 1},
      {0.3927, 1}, {-0.3927, 1}, {std::nextafter(-0.3927, -1.0), 4},
      {std::nextafter(0.3927, 1.0), 2}, {0.7853982, 2}, {1.1781, 2},
      {std::nextafter(1.1781, 2.0), 3}, {1.5708, 3}, {1.5707999467849731, 3},
      {-1.1781, 4}, {std::nextafter(-1.1781, -2.0), 3}, {-1.5708, 3}, {-0.7853982, 4},
      {std::nextafter(1.5708, 2.0), 0}, {std::nextafter(-1.5708, -2.0), 0}, {3.0, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0}, {-std::numeric_limits<double>::infinity(), 0},
  };
  // clang-format on
  for (const auto &c : cases) EXPECT_EQ(angleSector(c.angle), c.sector) << c.angle;
  for (double a = -1.6; a <= 1.6; a += 1e-4) ASSERT_EQ(angleSector(a), reference::sector(a)) << a;
}

// The quick test decides from the quotient alone. Every float quotient from
// 0.1 to 10, of either sign, holds all four bounds between them; each must
// land where the arc tangent puts it. The sanitizer build, many times slower,
// takes the floats nearest each bound instead. A sparse sweep covers the rest.
TEST(Sector, QuickTestAgreesWithTheAngleOnEveryQuotient) {
  std::uint64_t checked = 0, disagreeing = 0;
  float firstDisagreeing = 0;
  auto check = [&](float gx, float gy) {
    ++checked;
    if (gradientSector(gx, gy) != angleSector(gradientAngle(gx, gy)) && disagreeing++ == 0)
      firstDisagreeing = gy / gx;
  };
  auto checkBits = [&](std::uint32_t from, std::uint32_t to) {
    for (std::uint32_t bits = from; bits <= to; ++bits) {
      check(1.0f, floatFromBits(bits));
      check(-1.0f, floatFromBits(bits));
      check(1.0f, -floatFromBits(bits));
    }
  };
  if (!ENGINE_TESTS_UNDER_ASAN) {
    checkBits(bitsOf(0.1f), bitsOf(10.0f));
  } else {
    for (double bound : {0.3927, 1.1781}) {
      const std::uint32_t centre = bitsOf(static_cast<float>(std::tan(bound)));
      checkBits(centre - (1u << 16), centre + (1u << 16));
    }
  }
  for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += 4099) {
    check(1.0f, floatFromBits(static_cast<std::uint32_t>(bits)));
    check(7.0f, floatFromBits(static_cast<std::uint32_t>(bits)));
  }
  EXPECT_EQ(disagreeing, 0u) << "of " << checked << ", the first at quotient " << firstDisagreeing;
}

TEST(Sector, QuickTestAgreesAtTheTinyDifferenceThreshold) {
  const float nearest = 9.999999974752427e-7f;
  for (float gx : {0.0f, -0.0f, nearest, -nearest, floatAbove(nearest), -floatAbove(nearest),
                   1e-30f, 1.0f, kInf, kNaN})
    for (float gy :
         {0.0f, nearest, floatAbove(nearest), -floatAbove(nearest), 0.5f, -3.0f, kInf, -kInf, kNaN})
      expectQuickSectorAgrees(gx, gy);
}
