#pragma once
#include <cstddef>

#include "engine/PaddedPlane.h"

// Border cells take the value of the nearest pixel, columns first; the four
// corners end up 0 because they are copied from border columns that still
// hold the 0 they were cleared to. Expects the border cleared to 0.
void replicateBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h);

// Every border cell back to 0, as the magnitudes need it.
void clearBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h);
