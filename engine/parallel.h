#pragma once
// Splitting the detector's passes over the processor's cores. Every cell is
// computed by exactly the same operations whichever thread computes it, so
// the edge map does not depend on how the work is split.
#include <cstddef>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// How many parts `count` units of work are worth splitting into when a part
// should hold at least `minimumPerPart` units: at most one per core.
int partsFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart);

// The units [begin, end) of part `part` of `parts` equal, contiguous parts.
struct Range {
  std::ptrdiff_t begin, end;
};
Range partOf(std::ptrdiff_t count, int parts, int part);

// Runs body(part) for every part, part 0 on the calling thread and the others
// on threads of their own, and returns when all are done. A part whose thread
// cannot be had (no memory, no thread) runs on the calling thread instead.
// The body must not throw.
template <typename Body>
void runParts(int parts, const Body &body) {
  std::vector<std::thread> workers;
  int started = 0;
  try {
    workers.reserve(static_cast<std::size_t>(parts));
    for (; started + 1 < parts; ++started)
      workers.emplace_back([&body, started] { body(started + 1); });
  } catch (const std::bad_alloc &) {
  } catch (const std::system_error &) {
  }
  body(0);
  for (int part = started + 1; part < parts; ++part) body(part);
  for (std::thread &worker : workers) worker.join();
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

// The most parts partsFor ever returns on this machine.
int mostParts();
