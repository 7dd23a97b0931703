// Padded planes: shape, independence of columns, and what a failed allocation leaves.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/PaddedPlane.h"

TEST(Plane, EveryCellOfEveryColumnIsUsableAndSeparate) {
  PaddedPlane plane = nullptr;
  allocPlane(plane, 5, 3);
  ASSERT_TRUE(planeIsComplete(plane, 5));
  for (int x = 0; x < 5; ++x)
    for (int y = 0; y < 3; ++y) plane[x][y] = static_cast<float>(10 * x + y);
  for (int x = 0; x < 5; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(plane[x][y], static_cast<float>(10 * x + y));
  freePlane(plane, 5);
}

TEST(Plane, PlaneOfAnEmptyPictureHasTwoColumnsOrTwoRows) {
  for (auto [columns, rows] : {std::pair{2, 7}, std::pair{7, 2}, std::pair{2, 2}}) {
    PaddedPlane plane = nullptr;
    allocPlane(plane, columns, rows);
    ASSERT_TRUE(planeIsComplete(plane, columns));
    plane[columns - 1][rows - 1] = 1.0f;
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
TEST(Plane, ColumnArrayThatCannotBeHadLeavesANullHandle) {
  PaddedPlane plane = nullptr;
  allocPlane(plane, std::int64_t{1} << 42, 4);
  EXPECT_EQ(plane, nullptr);
  EXPECT_FALSE(planeIsComplete(plane, std::int64_t{1} << 42));
  freePlane(plane, std::int64_t{1} << 42);
}

TEST(Plane, ColumnThatCannotBeHadLeavesNullSlotsThatFreePlaneSkips) {
  PaddedPlane plane = nullptr;
  allocPlane(plane, 6, std::int64_t{1} << 42);
  ASSERT_NE(plane, nullptr);
  EXPECT_FALSE(planeIsComplete(plane, 6));
  for (int x = 0; x < 6; ++x) EXPECT_EQ(plane[x], nullptr) << "slot " << x;
  freePlane(plane, 6);
}
