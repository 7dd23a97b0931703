// Running out of memory part-way: the allocator of this test program refuses
// one chosen request, every request in turn, and counts the blocks still held.
// Whatever request fails, the engine must hand everything back, and the
// caller's buffer must come back untouched, with the detector saying so, or
// as the full edge map (when nothing failed, or the engine could do without
// the refused block).
// The address sanitizer brings its own allocator: there these tests skip.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "TestPictures.h"
#include "TestPlane.h"
#include "UnderAddressSanitizer.h"
#include "engine/PaddedPlane.h"
#include "engine/cannyEdgeDetector.h"
#include "engine/hysteresis.h"
#include "engine/suppressNonMaxima.h"

namespace {

// Atomic, as the engine may allocate from threads of its own.
struct Refusals {
  std::atomic<bool> armed = false;
  std::atomic<long> untilRefusal = -1;  // requests still granted before the one refused
  std::atomic<bool> refused = false;
  std::atomic<long> held = 0;  // blocks obtained while armed and not yet released
} refusals;

// Runs f with request number `refuse` (counted from 0) refused; tells
// whether that request was reached.
template <class F>
bool refusingRequest(long refuse, F f) {
  refusals.untilRefusal = refuse;
  refusals.refused = false;
  refusals.held = 0;
  refusals.armed = true;
  f();
  refusals.armed = false;
  return refusals.refused;
}

}  // namespace

#if !ENGINE_TESTS_UNDER_ASAN
namespace {
bool grant() {
  if (!refusals.armed || refusals.untilRefusal-- != 0) return true;
  refusals.refused = true;
  return false;
}
void track(const void *p) {
  if (p && refusals.armed) ++refusals.held;
}
}  // namespace

extern "C" {
void *__libc_malloc(std::size_t);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_realloc(void *, std::size_t);
void *__libc_memalign(std::size_t, std::size_t);
void __libc_free(void *);

void *malloc(std::size_t size) {
  void *p = grant() ? __libc_malloc(size) : nullptr;
  track(p);
  return p;
}
void *calloc(std::size_t count, std::size_t size) {
  void *p = grant() ? __libc_calloc(count, size) : nullptr;
  track(p);
  return p;
}
void *realloc(void *old, std::size_t size) {
  if (!old) return malloc(size);
  return grant() ? __libc_realloc(old, size) : nullptr;
}
void *aligned_alloc(std::size_t alignment, std::size_t size) {
  void *p = grant() ? __libc_memalign(alignment, size) : nullptr;
  track(p);
  return p;
}
void *memalign(std::size_t alignment, std::size_t size) { return aligned_alloc(alignment, size); }
int posix_memalign(void **out, std::size_t alignment, std::size_t size) {
  void *p = aligned_alloc(alignment, size);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
void free(void *p) {
  if (p && refusals.armed) --refusals.held;
  __libc_free(p);
}
}
#endif

class Memory : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ENGINE_TESTS_UNDER_ASAN) GTEST_SKIP() << "the address sanitizer owns the allocator";
  }
};

TEST_F(Memory, EveryRefusedRequestLeavesTheBufferUntouchedAndNothingHeld) {
  enum Kind { shapes, noise, square };
  struct Case {
    const char *name;
    int width, height;
    float t1, t2, sigma;
    int steps;
    Kind kind;
  };
  const Case cases[] = {
      {"shapes", 64, 48, 1, 5, 1.5f, 3, shapes},
      {"noise, which links large groups", 64, 48, 0, 60, 0, 0, noise},
      {"large enough to split the work", 640, 480, 1, 5, 1.5f, 3, shapes},
      {"smoothing overflowing to infinity near a square", 400, 300, 0.01f, 2, 60, 8, square},
  };
  for (const Case &c : cases) {
    const int width = c.width, height = c.height;
    std::mt19937 rng(47);
    std::vector<std::uint8_t> picture = randomPicture(width, height, rng);
    if (c.kind == noise)
      for (auto &b : picture) b = static_cast<std::uint8_t>(rng());
    if (c.kind == square) picture = partlyOverflowingPicture(width, height);
    std::vector<std::uint8_t> full = picture;
    cannyEdgeDetector(c.t1, c.t2, c.sigma, c.steps, width, height, full.data());
    ASSERT_NE(full, picture);

    int untouched = 0;
    for (long refuse = 0;; ++refuse) {
      ASSERT_LT(refuse, 100000) << c.name;
      std::vector<std::uint8_t> buffer = picture;
      bool finished = false;
      const bool refused = refusingRequest(refuse, [&] {
        finished = tryCannyEdgeDetector(c.t1, c.t2, c.sigma, c.steps, width, height, buffer.data());
      });
      ASSERT_EQ(refusals.held, 0) << c.name << ", request " << refuse << " refused";
      // A refusal that the engine can work around may still give the full map.
      ASSERT_EQ(buffer, finished ? full : picture) << c.name << ", request " << refuse;
      ASSERT_TRUE(finished || refused) << c.name << ", request " << refuse;
      untouched += buffer == picture;
      if (!refused) break;
    }
    EXPECT_GT(untouched, 0) << c.name;
  }
}

TEST_F(Memory, PlaneWithoutItsCellsHasNullColumnsAndCanBeFreed) {
  for (long refuse = 0; refuse <= 1; ++refuse) {
    PaddedPlane plane = nullptr;
    refusingRequest(refuse, [&] { allocPlane(plane, 5, 9); });
    if (refuse == 0) {
      EXPECT_EQ(plane, nullptr);
    } else {
      ASSERT_NE(plane, nullptr);
      EXPECT_FALSE(planeIsComplete(plane, 5));
      for (int x = 0; x < 5; ++x) EXPECT_EQ(plane[x], nullptr) << "slot " << x;
    }
    refusingRequest(-1, [&] { freePlane(plane, 5); });
    EXPECT_EQ(refusals.held, -refuse) << "every block obtained was released";
  }
}

TEST_F(Memory, SuppressionWithoutScratchLeavesThePlaneUnchanged) {
  TestPlane magnitude(5, 5), gx(5, 5, 1.0f), gy(5, 5);
  magnitude.pixel(2, 2) = 1.0f;
  magnitude.pixel(3, 2) = 2.0f;
  const auto before = magnitude.cells();
  bool done = true;
  EXPECT_TRUE(refusingRequest(
      0, [&] { done = suppressNonMaxima(magnitude.get(), gx.get(), gy.get(), 5, 5); }));
  EXPECT_FALSE(done);
  EXPECT_EQ(magnitude.cells(), before);
  EXPECT_EQ(refusals.held, 0);
}

TEST_F(Memory, HysteresisReportsAStackThatCannotGrow) {
  const int side = 40;
  for (long refuse = 0;; ++refuse) {
    ASSERT_LT(refuse, 1000);
    TestPlane plane(side, side, 0.0f);
    for (int x = 0; x < side; ++x)
      for (int y = 0; y < side; ++y) plane.pixel(x, y) = x == 0 && y == 0 ? 9.0f : 4.0f;
    bool done = false;
    const bool refused =
        refusingRequest(refuse, [&] { done = applyHysteresis(plane.get(), 2, 6, side, side); });
    EXPECT_EQ(refusals.held, 0) << "request " << refuse;
    EXPECT_EQ(done, !refused) << "request " << refuse;
    if (!refused) break;
  }
}
