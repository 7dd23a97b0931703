#include "engine/parallel.h"

#include <algorithm>

int partsFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart) {
  const std::ptrdiff_t cores = std::max(1u, std::thread::hardware_concurrency());
  const std::ptrdiff_t worth = count / std::max<std::ptrdiff_t>(minimumPerPart, 1);
  return static_cast<int>(std::clamp<std::ptrdiff_t>(std::min(cores, worth), 1, 64));
}

Range partOf(std::ptrdiff_t count, int parts, int part) {
  return {count * part / parts, count * (part + 1) / parts};
}
