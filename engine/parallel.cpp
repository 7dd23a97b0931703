#include "engine/parallel.h"

#include <algorithm>
#include <thread>

int mostParts() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 64u));
}

int partsFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart) {
  const std::ptrdiff_t worth = count / std::max<std::ptrdiff_t>(minimumPerPart, 1);
  return static_cast<int>(std::clamp<std::ptrdiff_t>(worth, 1, mostParts()));
}

Range partOf(std::ptrdiff_t count, int parts, int part) {
  return {count * part / parts, count * (part + 1) / parts};
}
