#pragma once
// A working grid of floats, (width + 2) columns by (height + 2) rows, with the
// picture's pixel (x, y) at cell [x + 1][y + 1] inside a one-cell border.
// The grid is an array of column handles, each its own array of floats, so
// plane[x][y] is row y of column x and a column is contiguous in memory.
#include <cstdint>

using PaddedPlane = float **;

// Allocates the column array and every column; cells are not initialised.
// On failure the handle is null (no column array) or the first column that
// could not be had and every later slot are null, so a partial plane can
// still be handed to freePlane.
void allocPlane(PaddedPlane &plane, std::int64_t columns, std::int64_t rows);

// Releases columns 0 .. columns - 1, then the column array. Null slots and a
// null handle are skipped.
void freePlane(PaddedPlane plane, std::int64_t columns);

// True when allocPlane got the column array and every column.
bool planeIsComplete(PaddedPlane plane, std::int64_t columns);
