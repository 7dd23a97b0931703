#include "imaging/PictureMemory.h"

#include <sys/mman.h>

#include <cstring>

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

QImage copyInPictureMemory(const QImage &picture) {
  if (picture.isNull()) return {};
  const qsizetype rowBytes = picture.bytesPerLine();
  auto *block = static_cast<uchar *>(
      allocatePictureMemory(std::size_t(rowBytes) * std::size_t(picture.height())));
  if (!block) return {};
  QImage copy(
      block, picture.width(), picture.height(), rowBytes, picture.format(),
      [](void *memory) { std::free(memory); }, block);
  if (copy.isNull()) {
    std::free(block);
    return {};
  }
  std::memcpy(block, picture.constBits(), std::size_t(picture.sizeInBytes()));
  copy.setColorTable(picture.colorTable());
  copy.setDevicePixelRatio(picture.devicePixelRatio());
  return copy;
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
