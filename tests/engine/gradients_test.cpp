// Sobel gradients: orientation and weights of the kernels, the worked step,
// and which cells the stage may touch.
#include "engine/gradients.h"

#include <gtest/gtest.h>

#include <random>

#include "TestPictures.h"
#include "TestPlane.h"
#include "reference/ReferenceDetector.h"

namespace {

constexpr float kUntouched = 777.0f;

struct Gradients {
  TestPlane gx, gy;
  Gradients(TestPlane &image, int width, int height)
      : gx(width, height, kUntouched), gy(width, height, kUntouched) {
    computeGradients(image.get(), gx.get(), gy.get(), width, height);
  }
};

}  // namespace

TEST(Gradients, UniformNeighbourhoodHasNoGradient) {
  TestPlane image(6, 4, 93.25f);
  Gradients g(image, 6, 4);
  for (int x = 1; x <= 6; ++x)
    for (int y = 1; y <= 4; ++y) {
      EXPECT_EQ(g.gx.cell(x, y), 0.0f);
      EXPECT_EQ(g.gy.cell(x, y), 0.0f);
    }
}

// A single bright cell shows each kernel mirrored around it: gx grows
// toward the right, gy downward, and the centre never counts.
TEST(Gradients, KernelsWeighAndOrientAsSobel) {
  TestPlane image(5, 5);
  image.cell(3, 3) = 8.0f;
  Gradients g(image, 5, 5);
  const float gxAround[3][3] = {{1, 0, -1}, {2, 0, -2}, {1, 0, -1}};  // [row][column]
  const float gyAround[3][3] = {{1, 2, 1}, {0, 0, 0}, {-1, -2, -1}};
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      EXPECT_EQ(g.gx.cell(3 + dx, 3 + dy), gxAround[dy + 1][dx + 1]) << dx << "," << dy;
      EXPECT_EQ(g.gy.cell(3 + dx, 3 + dy), gyAround[dy + 1][dx + 1]) << dx << "," << dy;
    }
  EXPECT_EQ(g.gx.cell(1, 1), 0.0f);
  EXPECT_EQ(g.gy.cell(5, 5), 0.0f);
}

TEST(Gradients, SharpStepGivesHalfItsHeightOnBothSides) {
  const int width = 8, height = 5, k = 3;
  for (bool vertical : {true, false}) {
    TestPlane image(width, height);
    for (int x = 0; x < width + 2; ++x)
      for (int y = 0; y < height + 2; ++y)
        image.cell(x, y) = (vertical ? x > k : y > k) ? 255.0f : 0.0f;
    Gradients g(image, width, height);
    for (int x = 1; x <= width; ++x)
      for (int y = 1; y <= height; ++y) {
        const float across = (vertical ? x : y) == k || (vertical ? x : y) == k + 1 ? 127.5f : 0.0f;
        EXPECT_EQ(g.gx.cell(x, y), vertical ? across : 0.0f) << x << "," << y;
        EXPECT_EQ(g.gy.cell(x, y), vertical ? 0.0f : across) << x << "," << y;
      }
  }
}

// A uniform picture in a plane whose border repeats it but whose four corner
// cells are 0: only the corner pixels slope, down toward the corner cells.
TEST(Gradients, UniformPictureSlopesOnlyAtItsCorners) {
  const int width = 5, height = 4;
  TestPlane image(width, height, 255.0f);
  image.cell(0, 0) = image.cell(width + 1, 0) = image.cell(0, height + 1) = 0.0f;
  image.cell(width + 1, height + 1) = 0.0f;
  Gradients g(image, width, height);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
      EXPECT_EQ(g.gx.pixel(x, y), corner ? (x == 0 ? 31.875f : -31.875f) : 0.0f) << x << "," << y;
      EXPECT_EQ(g.gy.pixel(x, y), corner ? (y == 0 ? 31.875f : -31.875f) : 0.0f) << x << "," << y;
    }
}

TEST(Gradients, EmptyPictureWritesNoCell) {
  for (auto [width, height] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    TestPlane image(width, height, 5.0f);
    Gradients g(image, width, height);
    for (float v : g.gx.cells()) EXPECT_EQ(v, kUntouched);
    for (float v : g.gy.cells()) EXPECT_EQ(v, kUntouched);
  }
}

TEST(Gradients, MatchThePlainKernelsToTheBit) {
  std::mt19937 rng(11);
  for (int round = 0; round < 100; ++round) {
    const int width = std::uniform_int_distribution<int>(1, 30)(rng);
    const int height = std::uniform_int_distribution<int>(1, 30)(rng);
    reference::Grid image(width, height), gx(width, height), gy(width, height);
    for (float &v : image.cells) v = randomFloat(rng, -300, 300);
    reference::gradients(image, gx, gy);
    TestPlane plane(width, height, image.cells);
    Gradients g(plane, width, height);
    for (int x = 1; x <= width; ++x)
      for (int y = 1; y <= height; ++y) {
        ASSERT_EQ(g.gx.cell(x, y), gx.at(x, y)) << x << "," << y;
        ASSERT_EQ(g.gy.cell(x, y), gy.at(x, y)) << x << "," << y;
      }
  }
}
