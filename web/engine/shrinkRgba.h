#pragma once
// A camera frame shrunk to an eighth in each direction, as the desktop
// application keeps its camera pictures: the size rounded as it rounds it,
// each pixel the average of the frame's area it covers.
#include <cstdint>

// Whole pixels in an eighth of `length`; 0 for lengths no picture has. The
// tolerance keeps a product landing a hair below a whole number from losing
// a pixel.
int eighthOf(int length);

// Writes the toWidth x toHeight RGBA pixels (no larger than the source) each
// of which averages the width x height source's pixels under it, those cut
// by its edges by the part it covers. Returns false when memory ran out.
bool shrinkRgba(const std::uint8_t *from, int width, int height, std::uint8_t *to, int toWidth,
                int toHeight);
