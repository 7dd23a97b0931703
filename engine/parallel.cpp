#include "engine/parallel.h"

#include <canny/canny.h>

#include <algorithm>

namespace canny::detail {

namespace {
thread_local int tPartsLimit = kMostThreads;
}  // namespace

int mostParts() { return std::clamp(canny::threadCount(), 1, tPartsLimit); }

PartsLimit::PartsLimit(int limit) : _previous(tPartsLimit) {
  tPartsLimit = std::clamp(limit, 1, _previous);
}
PartsLimit::~PartsLimit() { tPartsLimit = _previous; }

int partsFor(std::ptrdiff_t count, std::ptrdiff_t minimumPerPart) {
  const std::ptrdiff_t worth = count / std::max<std::ptrdiff_t>(minimumPerPart, 1);
  return static_cast<int>(std::clamp<std::ptrdiff_t>(worth, 1, mostParts()));
}

Range partOf(std::ptrdiff_t count, int parts, int part) {
  return {count * part / parts, count * (part + 1) / parts};
}

}  // namespace canny::detail
