#pragma once
#include <cstddef>

namespace canny::detail {

inline constexpr std::size_t kCacheLineBytes = 64;
inline constexpr std::ptrdiff_t kCacheLineFloats = kCacheLineBytes / sizeof(float);

// Memory for the detector's large working arrays. Where the system supports
// it, blocks of several megabytes are placed on huge pages: a picture of
// megapixels otherwise spends much of its time faulting in fresh 4 KiB pages.
// Blocks start on a cache line. Returns null when the memory cannot be had.
void *allocateLargeBlock(std::size_t bytes);
void freeLargeBlock(void *block);

}  // namespace canny::detail
