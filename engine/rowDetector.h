#pragma once
#include <cstdint>

#include "engine/rowGrid.h"

// The detector's fast form. The padded grid is held row by row, so the
// picture moves in and out of it without transposing, the column sweeps of
// the smoothing and every later stage run along contiguous rows, and
// gradients, the t1 cut and suppression are one pass over the rows with a few
// rows of scratch. Each cell sees exactly the operations of the plain form.
enum class RowDetection {
  done,
  outOfMemory,  // the buffer is unchanged
  // Smoothing left samples so large (or NaN) that a gradient could be
  // infinite in both directions, where suppression's outcome depends on the
  // order cells are visited in; the buffer is unchanged.
  needsColumnOrder,
};

// The grid's memory is reused where it suffices.
RowDetection detectByRows(RowGrid &grid, float t1, float t2, float sigma, std::int32_t steps,
                          std::int32_t width, std::int32_t height, std::uint8_t *data);
