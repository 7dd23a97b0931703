// Non-maximum suppression: which neighbours each direction compares, ties,
// the entry-time magnitudes every comparison reads, and the early stop.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "TestPictures.h"
#include "TestPlane.h"
#include "engine/suppressNonMaxima.h"
#include "reference/ReferenceDetector.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// Magnitudes with one gradient direction for every pixel unless set otherwise.
struct Scene {
  int width, height;
  TestPlane magnitude, gx, gy;
  Scene(int w, int h, float gxAll, float gyAll)
      : width(w), height(h), magnitude(w, h), gx(w, h, gxAll), gy(w, h, gyAll) {}
  void run() { ASSERT_TRUE(suppressNonMaxima(magnitude.get(), gx.get(), gy.get(), width, height)); }
};

struct Direction {
  float gx, gy;
  int first[2], second[2];  // neighbour offsets compared
};
const Direction kDirections[] = {
    {1, 0, {-1, 0}, {1, 0}},      // left and right
    {1, 1, {-1, -1}, {1, 1}},     // up-left and down-right
    {0, 1, {0, -1}, {0, 1}},      // above and below
    {1, -1, {1, -1}, {-1, 1}},    // up-right and down-left
    {-3, 0.5f, {-1, 0}, {1, 0}},  // a small negative angle stays left and right
};

}  // namespace

TEST(Suppression, EachDirectionComparesOnlyItsTwoNeighbours) {
  for (const Direction &d : kDirections)
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        if (dx == 0 && dy == 0) continue;
        Scene s(3, 3, d.gx, d.gy);
        s.magnitude.pixel(1, 1) = 5.0f;
        s.magnitude.pixel(1 + dx, 1 + dy) = 6.0f;
        s.run();
        const bool compared =
            (dx == d.first[0] && dy == d.first[1]) || (dx == d.second[0] && dy == d.second[1]);
        EXPECT_EQ(s.magnitude.pixel(1, 1), compared ? 0.0f : 5.0f)
            << "gradient " << d.gx << "," << d.gy << " greater neighbour at " << dx << "," << dy;
      }
}

// Quotients a few steps either side of each sector bound, and horizontal
// differences either side of the tiny-difference threshold: only the
// neighbours of the sector that the angle falls in may suppress.
TEST(Suppression, GradientsAtTheSectorBoundsCompareTheAnglesNeighbours) {
  const float nearestMicro = 9.999999974752427e-7f, aboveMicro = std::nextafter(nearestMicro, 1.0f);
  std::vector<std::pair<float, float>> gradients;
  for (double bound : {0.3927, 1.1781, -0.3927, -1.1781}) {
    float q = static_cast<float>(std::tan(bound));
    for (int i = 0; i < 40; ++i) q = std::nextafter(q, -kInf);
    for (int i = 0; i < 80; ++i, q = std::nextafter(q, kInf)) gradients.emplace_back(1.0f, q);
  }
  for (float gx : {nearestMicro, -nearestMicro, aboveMicro, -aboveMicro})
    for (float gy : {0.0f, nearestMicro, -aboveMicro, 1.0f}) gradients.emplace_back(gx, gy);

  for (auto [gx, gy] : gradients) {
    const int sector = reference::sector(reference::angle(gx, gy));
    for (int candidate = 1; candidate <= 4; ++candidate) {
      const Direction &d = kDirections[candidate - 1];
      Scene s(3, 3, gx, gy);
      s.magnitude.pixel(1, 1) = 5.0f;
      s.magnitude.pixel(1 + d.first[0], 1 + d.first[1]) = 6.0f;
      s.run();
      ASSERT_EQ(s.magnitude.pixel(1, 1) == 0.0f, sector == candidate)
          << "gx " << gx << " gy " << gy << ", greater neighbour of sector " << candidate;
    }
  }
}

TEST(Suppression, EqualNeighboursDoNotSuppress) {
  for (const Direction &d : kDirections) {
    Scene s(5, 5, d.gx, d.gy);
    for (int i = -2; i <= 2; ++i) s.magnitude.pixel(2 + i * d.first[0], 2 + i * d.first[1]) = 7.0f;
    const auto before = s.magnitude.cells();
    s.run();
    EXPECT_EQ(s.magnitude.cells(), before) << "a run along gradient " << d.gx << "," << d.gy;
  }
}

// A cell zeroed earlier in the pass still counts with its full magnitude.
TEST(Suppression, ComparisonsReadTheMagnitudesAsTheyWereOnEntry) {
  for (const Direction &d : kDirections) {
    Scene s(5, 5, d.gx, d.gy);
    const int sx = d.second[0], sy = d.second[1];  // the later-visited side
    const int step[2] = {sx > 0 || (sx == 0 && sy > 0) ? sx : -sx,
                         sx > 0 || (sx == 0 && sy > 0) ? sy : -sy};
    s.magnitude.pixel(2 - step[0], 2 - step[1]) = 3.0f;
    s.magnitude.pixel(2, 2) = 2.0f;
    s.magnitude.pixel(2 + step[0], 2 + step[1]) = 1.0f;
    s.run();
    EXPECT_EQ(s.magnitude.pixel(2 - step[0], 2 - step[1]), 3.0f);
    EXPECT_EQ(s.magnitude.pixel(2, 2), 0.0f);
    EXPECT_EQ(s.magnitude.pixel(2 + step[0], 2 + step[1]), 0.0f)
        << "gradient " << d.gx << "," << d.gy;
  }
}

TEST(Suppression, BorderNeighboursNeverSuppress) {
  for (const Direction &d : kDirections) {
    Scene s(1, 1, d.gx, d.gy);
    s.magnitude.pixel(0, 0) = 4.0f;
    s.run();
    EXPECT_EQ(s.magnitude.pixel(0, 0), 4.0f);
  }
}

// Magnitudes grow to the right, so every cell but the last column would go.
// Both gradients infinite at a cell give no direction: the pass ends there.
TEST(Suppression, CellWithoutDirectionEndsThePass) {
  Scene s(4, 3, 1, 0);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y) s.magnitude.pixel(x, y) = static_cast<float>(x + 1);
  s.gx.pixel(1, 1) = s.gy.pixel(1, 1) = kInf;
  s.run();
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(s.magnitude.pixel(0, y), 0.0f) << "visited before, row " << y;
  EXPECT_EQ(s.magnitude.pixel(1, 0), 0.0f);
  EXPECT_EQ(s.magnitude.pixel(1, 1), 2.0f);
  EXPECT_EQ(s.magnitude.pixel(1, 2), 2.0f);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(s.magnitude.pixel(2, y), 3.0f) << "not visited, row " << y;
}

TEST(Suppression, CellsOfZeroMagnitudeAreNeitherChangedNorAskedForADirection) {
  Scene s(1, 5, 0, 1);                         // one column, gradients pointing down it
  s.gx.pixel(0, 0) = s.gy.pixel(0, 0) = kInf;  // no direction, but nothing to thin
  s.magnitude.pixel(0, 1) = 1.0f;
  s.magnitude.pixel(0, 2) = 2.0f;
  s.magnitude.pixel(0, 3) = 3.0f;
  s.gx.pixel(0, 3) = s.gy.pixel(0, 3) = kInf;  // the pass ends here
  s.magnitude.pixel(0, 4) = 2.5f;
  s.run();
  EXPECT_EQ(s.magnitude.pixel(0, 0), 0.0f);
  EXPECT_EQ(s.magnitude.pixel(0, 1), 0.0f) << "the pass went on past the cell without direction";
  EXPECT_EQ(s.magnitude.pixel(0, 2), 0.0f);
  EXPECT_EQ(s.magnitude.pixel(0, 3), 3.0f);
  EXPECT_EQ(s.magnitude.pixel(0, 4), 2.5f) << "not visited";
}

TEST(Suppression, EmptyPictureIsLeftAlone) {
  for (auto [width, height] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{0, 0}}) {
    Scene s(width, height, 1, 1);
    s.run();
    for (float v : s.magnitude.cells()) EXPECT_EQ(v, 0.0f);
  }
}

TEST(Suppression, MatchesThePlainPassToTheBit) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200; ++round) {
    const int width = std::uniform_int_distribution<int>(1, 25)(rng);
    const int height = std::uniform_int_distribution<int>(1, 25)(rng);
    reference::Grid magnitude(width, height), gx(width, height), gy(width, height);
    for (int x = 1; x <= width; ++x)
      for (int y = 1; y <= height; ++y) {
        // Coarse values make ties and exact diagonals common.
        gx.at(x, y) = static_cast<float>(std::uniform_int_distribution<int>(-4, 4)(rng));
        gy.at(x, y) = static_cast<float>(std::uniform_int_distribution<int>(-4, 4)(rng)) *
                      (round % 2 ? 0.37f : 1.0f);
        const float m = std::sqrt(gx.at(x, y) * gx.at(x, y) + gy.at(x, y) * gy.at(x, y));
        magnitude.at(x, y) = m >= 2.0f ? m : 0.0f;
        if (round % 20 == 0 && std::uniform_int_distribution<int>(0, 200)(rng) == 0)
          gx.at(x, y) = gy.at(x, y) = magnitude.at(x, y) = kInf;
      }
    TestPlane plane(width, height, magnitude.cells), gxPlane(width, height, gx.cells),
        gyPlane(width, height, gy.cells);
    reference::suppress(magnitude, gx, gy);
    ASSERT_TRUE(suppressNonMaxima(plane.get(), gxPlane.get(), gyPlane.get(), width, height));
    ASSERT_TRUE(sameBits(plane.cells(), magnitude.cells))
        << width << "x" << height << " round " << round;
  }
}
