// Padded planes: shape, independence of columns, and what a failed allocation leaves.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/PaddedPlane.h"

TEST(Plane, EveryCellOfEveryColumnIsUsableAndSeparate) {
  for (auto [columns, rows] :
       {std::pair{5, 3}, std::pair{2, 7}, std::pair{7, 2}, std::pair{2, 2}}) {
    PaddedPlane plane = nullptr;
    allocPlane(plane, columns, rows);
    ASSERT_TRUE(planeIsComplete(plane, columns));
    for (int x = 0; x < columns; ++x)
      for (int y = 0; y < rows; ++y) plane[x][y] = static_cast<float>(10 * x + y);
    for (int x = 0; x < columns; ++x)
      for (int y = 0; y < rows; ++y) EXPECT_EQ(plane[x][y], static_cast<float>(10 * x + y));
    freePlane(plane, columns);
  }
}

TEST(Plane, FreeingWithNoColumnsOrANullHandleIsHarmless) {
  PaddedPlane plane = nullptr;
  allocPlane(plane, 0, 4);
  freePlane(plane, 0);
  freePlane(nullptr, 3);
  EXPECT_FALSE(planeIsComplete(nullptr, 3));
}

// Sizes far beyond any machine: the allocations fail, and what is left must
// still be safe to inspect and to free (the sanitizer build checks the leak).
TEST(Plane, PlaneBeyondTheMachineIsIncompleteAndCanBeFreed) {
  const std::int64_t huge = std::int64_t{1} << 42;
  for (auto [columns, rows] :
       {std::pair{huge, std::int64_t{4}}, std::pair{std::int64_t{6}, huge}}) {
    PaddedPlane plane = nullptr;
    allocPlane(plane, columns, rows);
    EXPECT_FALSE(planeIsComplete(plane, columns));
    if (plane) {
      for (int x = 0; x < 6; ++x) EXPECT_EQ(plane[x], nullptr) << "slot " << x;
    }
    freePlane(plane, columns);
  }
}
