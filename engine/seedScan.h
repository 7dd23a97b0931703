#pragma once
// The seed scan of hysteresis reads every cell, and seeds are rare: a chunk
// of cells is first checked for any seed at all, in a loop that vectorises.
// The check is made when the scan reaches the chunk, after every earlier
// trace, so it sees exactly the values the cell-by-cell scan would.
#include <cstddef>

namespace canny::detail {

inline constexpr std::ptrdiff_t kScanChunk = 64;

// True when any of the cells is at least t2.
bool chunkHasSeed(const float *cells, std::ptrdiff_t count, float t2);

}  // namespace canny::detail
