#pragma once
#include <cstdint>

#include "engine/PaddedPlane.h"

namespace canny::detail {

// Sobel gradients scaled by 1/8 for every interior cell: gx across columns
// (positive where the picture brightens to the right), gy across rows
// (positive where it brightens downward). Reads the image plane, border
// included; writes only the interior of gx and gy.
void computeGradients(PaddedPlane image, PaddedPlane gx, PaddedPlane gy, std::int32_t width,
                      std::int32_t height);

// The gradient direction as atanf(gy / gx), with fixed answers where |gx| is
// below 1e-6: 0 when |gy| is too, otherwise the float nearest 1.5708.
float gradientAngle(float gx, float gy);

// The sector of an angle in radians: 1 for [-0.3927, 0.3927], 2 for
// (0.3927, 1.1781], 3 for (1.1781, 1.5708] and [-1.5708, -1.1781), 4 for
// [-1.1781, -0.3927), 0 for NaN or beyond +-1.5708. The bounds are these
// decimal values in double precision, not multiples of pi.
int angleSector(double angle);

// Which pair of neighbours suppression compares for a gradient: 1 left/right,
// 2 up-left/down-right, 3 above/below, 4 up-right/down-left, 0 none (a NaN
// angle). Always angleSector(gradientAngle(gx, gy)), but without evaluating
// the arc tangent.
int gradientSector(float gx, float gy);

}  // namespace canny::detail
