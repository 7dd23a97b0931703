#include "imaging/PictureMemory.h"

#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below this a block rounded up to whole huge pages would waste too much.
constexpr std::size_t kHugeBlock = 4 * kHugePage;

}  // namespace

void *allocatePictureMemory(std::size_t bytes) {
  if (bytes < kHugeBlock) return std::malloc(bytes ? bytes : 1);
  if (bytes > std::size_t(-1) - kHugePage) return nullptr;
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void *block = std::aligned_alloc(kHugePage, rounded);
  if (block) madvise(block, rounded, MADV_HUGEPAGE);  // a hint: without it only speed is lost
  return block;
}

uchar *PictureBlock::reserve(std::size_t bytes) {
  if (bytes > _bytes || !_block) {
    _block.reset();  // the old block goes first: the two need not fit at once
    _bytes = 0;
    _block.reset(allocatePictureMemory(bytes));
    if (!_block) return nullptr;
    _bytes = bytes;
  }
  return static_cast<uchar *>(_block.get());
}
