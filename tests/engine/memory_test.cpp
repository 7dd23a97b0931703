// Running out of memory part-way: this program's allocator refuses each request in turn. Whatever
// fails, nothing stays held and the buffer comes back untouched (the detector saying so) or as the
// full map. Under the address sanitizer, with its own allocator, only impossible sizes are tried.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <fstream>
#include <limits>
#include <string>

#include <canny/canny.h>
#include <canny/cannyEdgeDetector.h>
#include "TestPictures.h"
#include "UnderAddressSanitizer.h"

namespace {

// Atomic, as the engine may allocate from threads of its own.
struct Refusals {
  std::atomic<bool> armed = false;
  std::atomic<long> untilRefusal = -1;  // requests still granted before the one refused
  std::atomic<bool> refused = false;
  std::atomic<long> held = 0;  // blocks obtained while armed and not yet released
  void arm(long granted) { untilRefusal = granted, refused = false, held = 0, armed = true; }
} refusals;

// Null for the refused request; blocks obtained while armed are counted.
template <class Allocate>
void *counted(Allocate allocate) {
  if (refusals.armed && refusals.untilRefusal-- == 0) return refusals.refused = true, nullptr;
  void *p = allocate();
  if (p && refusals.armed) ++refusals.held;
  return p;
}

}  // namespace

#if !ENGINE_TESTS_UNDER_ASAN
extern "C" {
void *__libc_malloc(std::size_t);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_memalign(std::size_t, std::size_t);
void __libc_free(void *);

void *malloc(std::size_t size) {
  return counted([&] { return __libc_malloc(size); });
}
void *calloc(std::size_t n, std::size_t size) {
  return counted([&] { return __libc_calloc(n, size); });
}
void *aligned_alloc(std::size_t alignment, std::size_t size) {
  return counted([&] { return __libc_memalign(alignment, size); });
}
void free(void *p) {
  if (p && refusals.armed) --refusals.held;
  __libc_free(p);
}
}
#else
// Allocations far beyond the machine fail by returning null, as in a plain build.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#endif

// Sizes whose working memory no machine has (nor a 64-bit count) fail before the buffer is read.
TEST(Memory, EveryRefusedRequestLeavesTheBufferUntouchedAndNothingHeld) {
  const std::int32_t most = std::numeric_limits<std::int32_t>::max();
  for (auto [width, height] :
       {std::pair{most, most}, std::pair{most, 1 << 20}, std::pair{1 << 20, most}}) {
    std::uint8_t tiny[4] = {1, 2, 3, 4};
    EXPECT_FALSE(tryCannyEdgeDetector(2, 6, 2, 4, width, height, tiny)) << width << "x" << height;
    EXPECT_EQ(tiny[3], 4);
  }
  if (ENGINE_TESTS_UNDER_ASAN) GTEST_SKIP() << "the address sanitizer owns the allocator";
  std::mt19937 rng(47);
  std::vector<std::uint8_t> noise(64 * 48);
  for (auto &b : noise) b = static_cast<std::uint8_t>(rng());
  const struct {
    const char *name;
    std::vector<std::uint8_t> picture;
    int width, height;
    float t1, t2, sigma;
    int steps;
  } cases[] = {
      {"shapes", randomPicture(64, 48, rng), 64, 48, 1, 5, 1.5f, 3},
      {"noise, which links large groups", noise, 64, 48, 0, 60, 0, 0},
      {"large enough to split the work", randomPicture(640, 480, rng), 640, 480, 1, 5, 1.5f, 3},
      {"smoothing overflowing near a square", partlyOverflowingPicture(400, 300), 400, 300, 0.01f,
       2, 60, 8},
  };
  for (const auto &c : cases) {
    std::vector<std::uint8_t> full = c.picture;
    cannyEdgeDetector(c.t1, c.t2, c.sigma, c.steps, c.width, c.height, full.data());
    ASSERT_NE(full, c.picture);

    int untouched = 0;
    for (long refuse = 0;; ++refuse) {
      ASSERT_LT(refuse, 100000) << c.name;
      std::vector<std::uint8_t> buffer = c.picture;
      refusals.arm(refuse);
      const bool finished =
          tryCannyEdgeDetector(c.t1, c.t2, c.sigma, c.steps, c.width, c.height, buffer.data());
      refusals.armed = false;
      const bool refused = refusals.refused;
      ASSERT_EQ(refusals.held, 0) << c.name << ", request " << refuse << " refused";
      // A refusal that the engine can work around may still give the full map.
      ASSERT_EQ(buffer, finished ? full : c.picture) << c.name << ", request " << refuse;
      ASSERT_TRUE(finished || refused) << c.name << ", request " << refuse;
      untouched += buffer == c.picture;
      if (!refused) break;
    }
    EXPECT_GT(untouched, 0) << c.name;
  }
}

// A field of /proc/self/smaps_rollup, in MiB.
long rollupMiB(const std::string &field) {
  std::ifstream rollup("/proc/self/smaps_rollup");
  for (std::string line; std::getline(rollup, line);)
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1)) / 1024;
  return -1;
}

// A fresh call's grid (24 MiB here) is handed back as it ends: the kernel may take its pages at
// any time (lazily freed), and releaseMemory unmaps them outright.
TEST(Memory, AFreshCallFreesItsGridAndReleaseMemoryUnmapsIt) {
  if (ENGINE_TESTS_UNDER_ASAN) GTEST_SKIP() << "the address sanitizer owns the allocator";
  const std::int32_t width = 3000, height = 2000;
  std::vector<std::uint8_t> picture(std::size_t{width} * height, 9);
  canny::Detector().releaseMemory();  // whatever earlier calls left lazily freed
  const long lazyBefore = rollupMiB("LazyFree");
  ASSERT_GE(lazyBefore, 0) << "no smaps_rollup";
  ASSERT_EQ(canny::detectEdges({picture.data(), width, height, width},
                               {picture.data(), width, height, width}),
            canny::Status::ok);
  EXPECT_GE(rollupMiB("LazyFree") - lazyBefore, 20);
  const long resident = rollupMiB("Rss");
  canny::Detector().releaseMemory();
  EXPECT_LE(rollupMiB("LazyFree"), lazyBefore + 1);
  EXPECT_LE(rollupMiB("Rss"), resident - 20);
  // Memory readied for a call is in place, and left as the call leaves it.
  ASSERT_EQ(canny::prepareMemory(width, height), canny::Status::ok);
  EXPECT_GE(rollupMiB("LazyFree") - lazyBefore, 20);
  canny::Detector().releaseMemory();
}
