#pragma once
// A padded plane owned by a test: allocated through the engine, every cell
// set, addressed by cell or by pixel, released on scope exit.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/PaddedPlane.h"

class TestPlane {
 public:
  TestPlane(std::int32_t width, std::int32_t height, float fill = 0.0f)
      : width_(width), height_(height) {
    allocPlane(plane_, width + 2, height + 2);
    EXPECT_TRUE(planeIsComplete(plane_, width + 2));
    for (std::int32_t x = 0; x < width + 2; ++x)
      for (std::int32_t y = 0; y < height + 2; ++y) plane_[x][y] = fill;
  }
  // Takes its cells from a column-by-column list, as cells() gives them.
  TestPlane(std::int32_t width, std::int32_t height, const std::vector<float> &cells)
      : TestPlane(width, height) {
    std::size_t i = 0;
    for (std::int32_t x = 0; x < width + 2; ++x)
      for (std::int32_t y = 0; y < height + 2; ++y) plane_[x][y] = cells.at(i++);
  }
  ~TestPlane() { freePlane(plane_, width_ + 2); }
  TestPlane(const TestPlane &) = delete;
  TestPlane &operator=(const TestPlane &) = delete;

  PaddedPlane get() const { return plane_; }
  float &cell(std::int32_t x, std::int32_t y) { return plane_[x][y]; }
  float &pixel(std::int32_t x, std::int32_t y) { return plane_[x + 1][y + 1]; }

  // Every cell, border included, column by column.
  std::vector<float> cells() const {
    std::vector<float> all;
    for (std::int32_t x = 0; x < width_ + 2; ++x)
      for (std::int32_t y = 0; y < height_ + 2; ++y) all.push_back(plane_[x][y]);
    return all;
  }

 private:
  std::int32_t width_, height_;
  PaddedPlane plane_ = nullptr;
};
