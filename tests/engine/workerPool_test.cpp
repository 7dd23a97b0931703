// Every part of a split pass runs exactly once, from many callers at once and split again inside.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/parallel.h"

using namespace canny::detail;

namespace {

bool eachPartRunsOnce(int parts) {
  std::vector<std::atomic<int>> runs(static_cast<std::size_t>(parts));
  runParts(parts, [&](int part) { runs[static_cast<std::size_t>(part)].fetch_add(1); });
  for (const std::atomic<int> &r : runs)
    if (r.load() != 1) return false;
  return true;
}

TEST(WorkerPool, EveryPartRunsExactlyOnceFromManyCallersAtOnce) {
  for (const int parts : {1, 2, 3, 64, 70000}) EXPECT_TRUE(eachPartRunsOnce(parts)) << parts;

  std::atomic<int> failures = 0;
  std::vector<std::thread> callers;
  for (int c = 0; c < 4; ++c)
    callers.emplace_back([&, c] {
      for (int call = 0; call < 300; ++call)
        if (!eachPartRunsOnce(1 + (call + c) % 5)) ++failures;
    });
  for (std::thread &t : callers) t.join();
  EXPECT_EQ(failures.load(), 0);
}

TEST(WorkerPool, PartsThatSplitWorkOfTheirOwnFinish) {
  std::atomic<long> sum = 0;
  for (int call = 0; call < 50; ++call)
    parallelFor(1000, 1, [&](std::ptrdiff_t begin, std::ptrdiff_t end, int) {
      parallelFor(end - begin, 1, [&](std::ptrdiff_t b, std::ptrdiff_t e, int) {
        for (std::ptrdiff_t i = b; i < e; ++i) sum += begin + i;
      });
    });
  EXPECT_EQ(sum.load(), 50L * 999 * 1000 / 2);
}

}  // namespace
