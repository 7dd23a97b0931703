#pragma once
#include "engine/rowGrid.h"

// Gradients, the t1 cut and suppression of every interior cell, leaving the
// thinned magnitudes in the grid's interior. Every gradient must be finite
// (no angle NaN), so the result does not depend on the order of the cells.
// Returns false when memory ran out.
bool thinGrid(const RowGrid &grid, float t1);
