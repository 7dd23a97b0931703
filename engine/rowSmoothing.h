#pragma once
#include <cstdint>

#include "engine/byteRows.h"
#include "engine/rowGrid.h"

namespace canny::detail {

// Widens the gray bytes into the grid's interior and smooths them there, each
// sample by exactly the operations smoothGaussian applies. Returns false when
// a smoothed sample is NaN or so large that a Sobel sum could overflow; the
// grid holds every smoothed sample either way, unless the grid's cancel
// request stopped the work part way.
bool loadSmoothed(ByteRows bytes, const RowGrid &grid, float sigma, std::int32_t steps);

// Below this no Sobel sum, difference or scaled gradient can overflow.
inline constexpr float kSafeMagnitude = 1e37f;

// Work is split so that each part has at least this many pixels; below that,
// handing a part to a worker thread costs more than it saves.
inline constexpr std::ptrdiff_t kPixelsPerPart = 1 << 16;

}  // namespace canny::detail
