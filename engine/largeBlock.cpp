#include "engine/largeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace canny::detail {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kSmallPage = 4096;  // the smallest page any system here has

// Every block is preceded by one cache line that holds the size of its
// mapping, or 0 when it came from the heap.
struct Header {
  std::size_t mapped;
};
static_assert(sizeof(Header) <= kCacheLineBytes);

Header *headerOf(void *block) {
  return reinterpret_cast<Header *>(static_cast<char *>(block) - kCacheLineBytes);
}

void *fromHeap(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * kCacheLineBytes) return nullptr;
  // One line more for the header, rounded to whole lines; never 0.
  void *line = std::aligned_alloc(kCacheLineBytes, (bytes / kCacheLineBytes + 2) * kCacheLineBytes);
  if (!line) return nullptr;
  static_cast<Header *>(line)->mapped = 0;
  return static_cast<char *>(line) + kCacheLineBytes;
}

// Large blocks are mapped directly, on huge-page boundaries (under a
// sanitizer they come from the heap, where it watches them).
#if defined(__SANITIZE_ADDRESS__)
#define ENGINE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define ENGINE_SANITIZED 1
#endif
#endif
#if defined(__linux__) && defined(MADV_HUGEPAGE) && defined(MADV_FREE) && !defined(ENGINE_SANITIZED)
#define ENGINE_MAPPED_BLOCKS 1

// The last large block freed, kept with its pages handed back by MADV_FREE:
// the kernel takes them whenever it wants the memory, without writing them
// anywhere, and until it does the next large block reuses them without a page
// fault or the kernel clearing them. A picture of megapixels spends otherwise
// much of a call faulting in and clearing fresh pages.
struct Spare {
  std::mutex guard;
  void *mapping = nullptr;
  std::size_t size = 0;
};
// Null when it could not be made: blocks are then simply unmapped.
Spare *spare() {
  static Spare *const s = new (std::nothrow) Spare;  // never destroyed: frees may come at exit
  return s;
}

void *mapHugeAligned(std::size_t size) {
  // Mapped a huge page longer, then trimmed to start on a huge page.
  void *raw =
      mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(raw, aligned - start);
  munmap(reinterpret_cast<void *>(aligned + size), start + kHugePage - aligned);
  void *mapping = reinterpret_cast<void *>(aligned);
  madvise(mapping, size, MADV_HUGEPAGE);  // a hint; failing it costs only speed
  return mapping;
}

void *fromMapping(std::size_t bytes) {
  const std::size_t wanted = bytes + kCacheLineBytes;
  const std::size_t size = (wanted + kHugePage - 1) / kHugePage * kHugePage;
  if (wanted < bytes || size < wanted || size + kHugePage < size) return nullptr;  // too large
  void *mapping = nullptr;
  std::size_t mapped = size;
  if (Spare *s = spare()) {
    const std::lock_guard<std::mutex> lock(s->guard);
    if (s->mapping && s->size >= size) {
      mapping = s->mapping;
      mapped = s->size;
      s->mapping = nullptr;
      s->size = 0;
    }
  }
  if (!mapping) mapping = mapHugeAligned(size);
  if (!mapping) return nullptr;
  static_cast<Header *>(mapping)->mapped = mapped;
  return static_cast<char *>(mapping) + kCacheLineBytes;
}

void unmapBlock(void *mapping, std::size_t size, bool lazily) {
  Spare *s = lazily ? spare() : nullptr;
  if (s) {
    const std::lock_guard<std::mutex> lock(s->guard);
    if (s->size <= size && madvise(mapping, size, MADV_FREE) == 0) {
      std::swap(mapping, s->mapping);  // the smaller one goes
      std::swap(size, s->size);
    }
  }
  if (mapping) munmap(mapping, size);
}
#endif

}  // namespace

void *allocateLargeBlock(std::size_t bytes) {
#if defined(ENGINE_MAPPED_BLOCKS)
  if (bytes >= 2 * kHugePage) return fromMapping(bytes);
#endif
  return fromHeap(bytes);
}

void freeLargeBlock(void *block, bool lazily) {
  if (!block) return;
  Header *header = headerOf(block);
#if defined(ENGINE_MAPPED_BLOCKS)
  if (header->mapped) return unmapBlock(header, header->mapped, lazily);
#else
  (void)lazily;
#endif
  std::free(header);
}

bool touchPages(void *block, std::size_t bytes, const std::atomic<bool> *stop) {
  // Volatile: the bytes written are never read, and must be written all the same.
  auto *const bytesOf = static_cast<volatile char *>(block);
  for (std::size_t at = 0; at < bytes; at += kSmallPage) {
    // Looked at once per huge page: often enough to stop within a moment.
    if (stop && at % kHugePage == 0 && stop->load(std::memory_order_relaxed)) return false;
    bytesOf[at] = 0;
  }
  return true;
}

void releaseSpareBlock() {
#if defined(ENGINE_MAPPED_BLOCKS)
  Spare *s = spare();
  if (!s) return;
  void *mapping = nullptr;
  std::size_t size = 0;
  {
    const std::lock_guard<std::mutex> lock(s->guard);
    std::swap(mapping, s->mapping);
    std::swap(size, s->size);
  }
  if (mapping) munmap(mapping, size);
#endif
}

}  // namespace canny::detail
