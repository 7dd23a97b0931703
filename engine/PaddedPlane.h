#pragma once
// A working grid of floats, (width + 2) columns by (height + 2) rows, with the
// picture's pixel (x, y) at cell [x + 1][y + 1] inside a one-cell border.
// The grid is an array of column handles, each its own array of floats, so
// plane[x][y] is row y of column x and a column is contiguous in memory.
#include <cstdint>

namespace canny::detail {

using PaddedPlane = float **;

// Allocates the column array and the columns; cells are not initialised.
// When the column array cannot be had the handle is null; when the columns
// cannot be had their handles are null. Either way the plane can be handed to
// freePlane.
void allocPlane(PaddedPlane &plane, std::int64_t columns, std::int64_t rows);

// Releases a plane made by allocPlane with the same column count; a null
// handle is skipped.
void freePlane(PaddedPlane plane, std::int64_t columns);

// True when allocPlane got the column array and every column.
bool planeIsComplete(PaddedPlane plane, std::int64_t columns);

}  // namespace canny::detail
