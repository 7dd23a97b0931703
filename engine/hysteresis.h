#pragma once
#include <cstdint>

#include "engine/PaddedPlane.h"

namespace canny::detail {

// The value that marks an edge cell; it doubles as the visited flag.
inline constexpr float kEdgeMark = 255.0f;

// Turns thinned magnitudes into the edge map in place: a cell of at least t2
// starts an edge, which is followed through 8-neighbours with t1 < value <= t2;
// then every interior cell below 255 becomes 0. Pending cells live on an
// explicit stack (never the machine stack) and are visited depth first in the
// fixed neighbour order. Returns false, with the plane partly marked, only when
// that stack could not grow.
bool applyHysteresis(PaddedPlane image, float t1, float t2, std::int32_t width,
                     std::int32_t height);

// The first half of applyHysteresis: marks every edge cell with 255 but
// leaves the other cells as they are.
bool markEdges(PaddedPlane image, float t1, float t2, std::int32_t width, std::int32_t height);

// Marks interior cell [x][y] and every cell that can be followed from it.
// Never steps onto the border, and never follows a marked cell, whatever the
// thresholds. Returns false when its stack could not grow.
bool traceEdge(std::int32_t x, std::int32_t y, PaddedPlane image, float t1, float t2,
               std::int32_t width, std::int32_t height);

}  // namespace canny::detail
