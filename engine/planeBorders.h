#pragma once
#include <cstddef>

#include "engine/PaddedPlane.h"

namespace canny::detail {

// Border cells take the value of the nearest pixel, the four corner cells
// that of the corner pixel, so that a flat picture has no gradient anywhere.
void replicateBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h);

// Every border cell back to 0, as the magnitudes need it.
void clearBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h);

}  // namespace canny::detail
