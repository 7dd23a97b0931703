#pragma once
#include <atomic>
#include <cstddef>

namespace canny::detail {

inline constexpr std::size_t kCacheLineBytes = 64;
inline constexpr std::ptrdiff_t kCacheLineFloats = kCacheLineBytes / sizeof(float);

// Memory for the detector's large working arrays. Where the system supports
// it, blocks of several megabytes are mapped on their own, on huge pages: a
// picture of megapixels otherwise spends much of its time faulting in fresh
// 4 KiB pages. Blocks start on a cache line. Returns null when the memory
// cannot be had.
void *allocateLargeBlock(std::size_t bytes);

// Frees a block; null is skipped. `lazily`, for memory that a call takes and
// returns, a mapped block is handed back with MADV_FREE and kept as the spare
// (one at most, the largest): the kernel reclaims its pages whenever it needs
// memory, and until then the next large block reuses them without page faults
// or their clearing.
void freeLargeBlock(void *block, bool lazily = false);

// Writes one byte in every page of the first `bytes` of a block, so that the
// system provides its pages now rather than when they are first used. False
// when `stop` (when given) was set first.
bool touchPages(void *block, std::size_t bytes, const std::atomic<bool> *stop);

// Unmaps the spare block, if any.
void releaseSpareBlock();

}  // namespace canny::detail
