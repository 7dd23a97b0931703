#pragma once
#include <canny/canny.h>

#include <atomic>

#include "engine/rowGrid.h"

namespace canny::detail {

// The detector's fast form. The padded grid is held row by row, so the
// picture moves in and out of it without transposing, the column sweeps of
// the smoothing and every later stage run along contiguous rows, and
// gradients, the t1 cut, suppression and classing for hysteresis are one pass
// over the rows, each part of the picture linked into edges right behind it.
// Each cell sees exactly the operations of the plain form, and where that
// form's suppression stops early (infinite gradients) this stops at the same
// cell. The grid's memory is reused where it suffices.
//
// The views are valid and of one size, not empty. The input is read whole
// before the first output byte is written. Between bands of rows the passes
// look at `cancel`: once it holds, they stop, it is cleared and the result is
// cancelled. outOfMemory leaves the output unchanged.
Status detectByRows(RowGrid &grid, ConstImageView input, ImageView output, const Settings &settings,
                    std::atomic<bool> &cancel);

}  // namespace canny::detail
