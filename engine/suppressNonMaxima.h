#pragma once
#include <cstdint>

#include "engine/PaddedPlane.h"

namespace canny::detail {

// Thins the magnitude plane: an interior cell whose magnitude is exceeded by
// either neighbour along its gradient direction becomes 0. Every comparison
// reads the magnitudes as they were on entry. The pass stops at the first cell
// whose angle is NaN (both gradients infinite); the cells not yet visited keep
// their magnitudes. Returns false, with the plane unchanged, when its scratch
// memory could not be allocated.
bool suppressNonMaxima(PaddedPlane image, PaddedPlane gx, PaddedPlane gy, std::int32_t width,
                       std::int32_t height);

}  // namespace canny::detail
