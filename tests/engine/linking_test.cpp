// Hysteresis as the fast pipeline links it, in strips of rows joined afterwards, with stacks too
// small for the search: marked exactly the seeds and the followable cells a plain breadth-first
// search reaches from them, and the edge map those and the bright cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "engine/edgeClasses.h"
#include "engine/gridHysteresis.h"

using namespace canny::detail;

namespace {

using Cells = std::vector<std::uint8_t>;

Cells reachedFromSeeds(const Cells &classes, std::ptrdiff_t pitch) {
  Cells edge(classes.size(), 0);
  std::deque<std::ptrdiff_t> pending;
  for (std::size_t i = 0; i < classes.size(); ++i)
    if (classes[i] == edgeClass::kPending) pending.push_back(static_cast<std::ptrdiff_t>(i));
  for (const std::ptrdiff_t i : pending) edge[static_cast<std::size_t>(i)] = 1;
  for (; !pending.empty(); pending.pop_front())
    for (std::ptrdiff_t dy = -1; dy <= 1; ++dy)
      for (std::ptrdiff_t dx = -1; dx <= 1; ++dx) {
        const auto n = static_cast<std::size_t>(pending.front() + dy * pitch + dx);
        if (edge[n] || !edgeClass::isFollowable(classes[n])) continue;
        edge[n] = 1;
        pending.push_back(static_cast<std::ptrdiff_t>(n));
      }
  return edge;
}

TEST(Linking, StripsAndSmallStacksMarkExactlyTheCellsReachedFromASeed) {
  const std::ptrdiff_t width = 90, height = 70, pitch = width + 5;
  std::mt19937 rng(3);
  for (const int percentFollowable : {30, 55, 80}) {
    Cells classes(static_cast<std::size_t>(pitch * (height + 2)), edgeClass::kNone);
    for (std::ptrdiff_t y = 1; y <= height; ++y)
      for (std::ptrdiff_t x = 1; x <= width; ++x) {
        // Rare seeds; followable cells (half of them bright) at the given share.
        const std::uint8_t kinds[] = {edgeClass::kFollowable,
                                      edgeClass::kFollowable | edgeClass::kBright,
                                      edgeClass::kBright, edgeClass::kNone};
        const bool followable = static_cast<int>(rng() % 100) < percentFollowable;
        classes[static_cast<std::size_t>(y * pitch + x)] =
            rng() % 300 == 0 ? edgeClass::kPending : kinds[(followable ? 0 : 2) + rng() % 2];
      }
    const Cells expected = reachedFromSeeds(classes, pitch);
    for (const int strips : {1, 3, 7})
      for (const std::ptrdiff_t capacity : {1, 5, 100000}) {
        Cells linked = classes, edges(static_cast<std::size_t>(width * height), 77);
        const ClassMap map{linked.data(), pitch, width, height};
        std::vector<std::ptrdiff_t> stack(static_cast<std::size_t>(capacity));
        const PendingStack pending{stack.data(), capacity};
        for (int s = 0; s < strips; ++s) {
          const std::ptrdiff_t y0 = 1 + height * s / strips, y1 = 1 + height * (s + 1) / strips;
          StripLinker linker(map, y0, pending, {edges.data(), width});
          for (std::ptrdiff_t y = y0; y < y1;) linker.linkUntil(y = std::min(y + 4, y1));
        }
        for (int s = 1; s < strips; ++s)
          joinStrips(map, 1 + height * s / strips, pending, {edges.data(), width});
        for (std::size_t i = 0; i < linked.size(); ++i) {
          const bool marked = linked[i] == edgeClass::kMarked;
          ASSERT_EQ(marked, expected[i] == 1)
              << "cell " << i % pitch << "," << i / pitch << " with " << strips << " strips, stack "
              << capacity << ", " << percentFollowable << "% followable";
          ASSERT_TRUE(marked || linked[i] == classes[i]);
          const std::ptrdiff_t x = static_cast<std::ptrdiff_t>(i) % pitch - 1,
                               y = static_cast<std::ptrdiff_t>(i) / pitch - 1;
          if (x < 0 || x >= width || y < 0 || y >= height) continue;
          const bool edge = expected[i] == 1 || (classes[i] & edgeClass::kBright) != 0;
          ASSERT_EQ(edges[static_cast<std::size_t>(y * width + x)], edge ? 255 : 0)
              << "byte of cell " << x << "," << y;
        }
      }
  }
}

}  // namespace
