// Hysteresis: seeds, following, clearing, the thresholds' bounds, long chains,
// and agreement with a breadth-first search from the seeds.
#include "engine/hysteresis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "TestPictures.h"
#include "TestPlane.h"
#include "reference/ReferenceDetector.h"

namespace {

// Cell values given row by row for readability; the border stays 0.
std::vector<float> hysteresisOf(int width, int height, const std::vector<float> &rows, float t1,
                                float t2) {
  TestPlane plane(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) plane.pixel(x, y) = rows[y * width + x];
  EXPECT_TRUE(applyHysteresis(plane.get(), t1, t2, width, height));
  std::vector<float> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.push_back(plane.pixel(x, y));
  for (int x = 0; x < width + 2; ++x) {
    EXPECT_EQ(plane.cell(x, 0), 0.0f);
    EXPECT_EQ(plane.cell(x, height + 1), 0.0f);
  }
  for (int y = 0; y < height + 2; ++y) {
    EXPECT_EQ(plane.cell(0, y), 0.0f);
    EXPECT_EQ(plane.cell(width + 1, y), 0.0f);
  }
  return out;
}

constexpr float E = 255.0f;  // an edge cell afterwards

}  // namespace

// Cells laid out as the picture, row by row.
// clang-format off
TEST(Hysteresis, WorkedExample) {
  EXPECT_EQ(hysteresisOf(3, 2, {9, 5, 0,
                                1, 0, 4}, 2, 6),
            (std::vector<float>{E, E, 0,
                                0, 0, E}));
}
// clang-format on

TEST(Hysteresis, ThresholdBounds) {
  const std::vector<float> cells{6, 2, 0, 3, 7.5f, 0};
  EXPECT_EQ(hysteresisOf(6, 1, cells, 2, 6), (std::vector<float>{E, 0, 0, E, E, 0}))
      << "equal to T2 seeds, equal to T1 is not followed";
  EXPECT_EQ(hysteresisOf(3, 1, {9, 6, 6}, 2, 6), (std::vector<float>{E, E, E}))
      << "equal to T2 is followed";
  EXPECT_EQ(hysteresisOf(6, 1, cells, 0, 0), std::vector<float>(6, E)) << "T2 = 0 seeds every cell";
  EXPECT_EQ(hysteresisOf(6, 1, cells, 6, 6), (std::vector<float>{E, 0, 0, 0, E, 0}))
      << "T1 = T2 follows nothing";
  EXPECT_EQ(hysteresisOf(6, 1, cells, 7, 3), (std::vector<float>{E, 0, 0, E, E, 0}))
      << "T1 > T2 follows nothing";
}

// clang-format off
TEST(Hysteresis, ChainsFollowCornersAndUnseededGroupsVanish) {
  EXPECT_EQ(hysteresisOf(5, 4, {0, 0, 0, 0, 8,
                                0, 0, 0, 4, 0,
                                3, 0, 3, 0, 0,
                                3, 3, 0, 0, 5}, 2, 6),
            (std::vector<float>{0, 0, 0, 0, E,
                                0, 0, 0, E, 0,
                                E, 0, E, 0, 0,
                                E, E, 0, 0, 0}));
}
// clang-format on

TEST(Hysteresis, ValuesThatAreNotNumbersAreKeptAndInfinitySeeds) {
  const float nan = std::numeric_limits<float>::quiet_NaN(),
              inf = std::numeric_limits<float>::infinity();
  const auto out = hysteresisOf(6, 1, {9, nan, 4, 0, inf, 3}, 2, 6);
  EXPECT_EQ(out[0], E);
  EXPECT_TRUE(std::isnan(out[1]));
  EXPECT_EQ(out[2], 0.0f) << "not reachable past the cell that is not a number";
  EXPECT_EQ(out[4], E);
  EXPECT_EQ(out[5], E);
}

TEST(Hysteresis, EmptyPlaneIsLeftUnchanged) {
  for (auto [width, height] : {std::pair{0, 3}, std::pair{3, 0}}) {
    TestPlane plane(width, height, 9.0f);
    EXPECT_TRUE(applyHysteresis(plane.get(), 2, 6, width, height));
    for (float v : plane.cells()) EXPECT_EQ(v, 9.0f);
  }
}

// A one-cell-wide path that winds through the whole picture: every cell is
// reached from the one before it, so the chain is as deep as it can be.
TEST(Hysteresis, LongestChainIsFollowedWithoutExhaustingTheStack) {
  const int side = 1501;
  TestPlane plane(side, side);
  for (int y = 0; y < side; y += 2) {
    for (int x = 0; x < side; ++x) plane.pixel(x, y) = 4.0f;
    if (y + 1 < side) plane.pixel((y / 2) % 2 ? 0 : side - 1, y + 1) = 4.0f;
  }
  plane.pixel(0, 0) = 9.0f;
  ASSERT_TRUE(applyHysteresis(plane.get(), 2, 6, side, side));
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const bool onPath = y % 2 == 0 || x == ((y / 2) % 2 ? 0 : side - 1);
      ASSERT_EQ(plane.pixel(x, y), onPath ? E : 0.0f) << x << "," << y;
    }
}

TEST(Hysteresis, TraceMarksItsStartAndWhatFollowsFromIt) {
  TestPlane plane(4, 1);
  plane.pixel(0, 0) = 1.0f;  // fails every test, but is where the trace starts
  plane.pixel(1, 0) = 4.0f;
  plane.pixel(2, 0) = 9.0f;  // above T2: a seed, yet not followed
  plane.pixel(3, 0) = 4.0f;
  ASSERT_TRUE(traceEdge(1, 1, plane.get(), 2, 6, 4, 1));
  EXPECT_EQ(plane.pixel(0, 0), E);
  EXPECT_EQ(plane.pixel(1, 0), E);
  EXPECT_EQ(plane.pixel(2, 0), 9.0f);
  EXPECT_EQ(plane.pixel(3, 0), 4.0f);
}

// Thresholds beyond what the sliders give: below 0 every interior cell can
// be followed, at 255 or above a marked cell could be; the trace must still
// stay inside the picture and end.
TEST(Hysteresis, ThresholdsOutsideTheSliderRangeStayInsideAndEnd) {
  EXPECT_EQ(hysteresisOf(4, 2, {0, 0, 0, 9, 0, 0, 0, 0}, -1, 6), std::vector<float>(8, E));
  EXPECT_EQ(hysteresisOf(4, 1, {1000, 5, 5, 0}, 2, 300), (std::vector<float>{E, E, E, 0}));
  EXPECT_EQ(hysteresisOf(3, 1, {1000, 5, 0}, -1, 255), (std::vector<float>{E, E, E}));
  EXPECT_EQ(hysteresisOf(3, 1, {0, 0, 280}, 2, 1000), (std::vector<float>{0, 0, 280}))
      << "a value of 255 or more that no trace reaches is not cleared";
}

TEST(Hysteresis, MarksExactlyWhatASearchFromTheSeedsReaches) {
  std::mt19937 rng(23);
  for (int round = 0; round < 300; ++round) {
    const int width = std::uniform_int_distribution<int>(1, 30)(rng);
    const int height = std::uniform_int_distribution<int>(1, 30)(rng);
    // Mostly slider thresholds; every sixth round T1 below 0, every sixth T2 of 255 or more.
    float t1 = randomFloat(rng, 0, 10), t2 = round % 7 == 0 ? t1 : randomFloat(rng, 0, 10),
          scale = 12;
    if (round % 6 == 0) t1 = randomFloat(rng, -3, -0.001f);
    if (round % 6 == 1) t1 = randomFloat(rng, 0, 100), t2 = randomFloat(rng, 255, 400), scale = 500;
    reference::Grid grid(width, height);
    for (int x = 1; x <= width; ++x)
      for (int y = 1; y <= height; ++y)
        grid.at(x, y) =
            std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? 0.0f : randomFloat(rng, 0, scale);
    TestPlane plane(width, height, grid.cells);
    reference::hysteresis(grid, t1, t2);
    ASSERT_TRUE(applyHysteresis(plane.get(), t1, t2, width, height));
    ASSERT_TRUE(sameBits(plane.cells(), grid.cells))
        << width << "x" << height << " T1 " << t1 << " T2 " << t2;
  }
}
