#pragma once
// Hysteresis for the detector's row pipeline, over a grid in one block: cell
// (x, y) at grid[y * stride + x], interior x = 1..width, y = 1..height.
//
// Which cells end up on an edge does not depend on the order in which seeds
// and neighbours are taken (an edge cell is a seed, or is joined to one by a
// chain of followable cells), so this takes them in whatever order is
// fastest: seeds row by row, neighbours from a plain stack. Marked cells are
// set to NaN, which no seed or follow test passes, so a cell is never visited
// twice and no trace can leave the interior once the border is NaN too.
#include <cstddef>
#include <limits>

inline constexpr float kGridMark = std::numeric_limits<float>::quiet_NaN();

// Fills the grid's border with marks. Call before linkEdges.
void fenceGrid(float *grid, std::ptrdiff_t stride, std::ptrdiff_t width, std::ptrdiff_t height);

// Marks every edge cell; the interior must hold no NaN on entry. Returns
// false when the stack of pending cells could not grow.
bool linkEdges(float *grid, std::ptrdiff_t stride, std::ptrdiff_t width, std::ptrdiff_t height,
               float t1, float t2);
