#pragma once
#include <cstdint>

#include "engine/rowGrid.h"

// The detector's fast form. The padded grid is held row by row, so the
// picture moves in and out of it without transposing, the column sweeps of
// the smoothing and every later stage run along contiguous rows, and
// gradients, the t1 cut, suppression and classing for hysteresis are one pass
// over the rows, each part of the picture linked into edges right behind it.
// Each cell sees exactly the operations of the plain form, and where that
// form's suppression stops early (infinite gradients) this stops at the same
// cell. The grid's memory is reused where it suffices. False when memory
// could not be had; the buffer is then unchanged.
bool detectByRows(RowGrid &grid, float t1, float t2, float sigma, std::int32_t steps,
                  std::int32_t width, std::int32_t height, std::uint8_t *data);
