#pragma once
// Splitting the detector's passes over the processor's cores. Every cell is
// computed by exactly the same operations whichever thread computes it, so
// the edge map does not depend on how the work is split.
#include <cstddef>

#include "engine/workerPool.h"

namespace canny::detail {

// How many parts `count` units of work are worth splitting into when a part
// should hold at least `minimumPerPart` units: at most one per core.
int partsFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart);

// The units [begin, end) of part `part` of `parts` equal, contiguous parts.
struct Range {
  std::ptrdiff_t begin, end;
};
Range partOf(std::ptrdiff_t count, int parts, int part);

// Runs body(part) for every part, on the process's worker threads and the
// calling thread, and returns when all are done. Any part may run on any of
// them; where no worker can be had, all run on the calling thread. The body
// must not throw.
template <typename Body>
void runParts(int parts, const Body &body) {
  runOnWorkers(
      parts, [](const void *b, int part) { (*static_cast<const Body *>(b))(part); }, &body);
}

// runParts over partOf(count, parts, part), with parts = partsFor(...);
// body(begin, end, part) for each non-empty part.
template <typename Body>
void parallelFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart, const Body &body) {
  const int parts = partsFor(count, minimumPerPart);
  if (parts == 1) {
    if (count > 0) body(std::ptrdiff_t{0}, count, 0);
    return;
  }
  runParts(parts, [&](int part) {
    const Range r = partOf(count, parts, part);
    if (r.begin < r.end) body(r.begin, r.end, part);
  });
}

// The most parts partsFor returns now: the thread count in effect, lowered
// on this thread while a PartsLimit lives.
int mostParts();

// Keeps partsFor on the calling thread at or below `limit` while it lives, so
// that memory laid out for so many parts suffices even if the thread count
// grows meanwhile.
class PartsLimit {
 public:
  explicit PartsLimit(int limit);
  ~PartsLimit();
  PartsLimit(const PartsLimit &) = delete;
  PartsLimit &operator=(const PartsLimit &) = delete;

 private:
  int _previous;
};

// The most threads the detector ever splits a picture over.
inline constexpr int kMostThreads = 64;

}  // namespace canny::detail
