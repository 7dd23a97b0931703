#include "engine/largeBlock.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace canny::detail {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

void *allocateLargeBlock(std::size_t bytes) {
  if (bytes < 2 * kHugePage)
    return std::aligned_alloc(kCacheLineBytes,
                              (bytes / kCacheLineBytes + 1) * kCacheLineBytes);  // never 0
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  if (rounded < bytes) return nullptr;  // the size does not fit in memory at all
  void *block = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (block) madvise(block, rounded, MADV_HUGEPAGE);  // a hint; failing it costs only speed
#endif
  return block;
}

void freeLargeBlock(void *block) { std::free(block); }

}  // namespace canny::detail
