#include "engine/planeBorders.h"

namespace canny::detail {

void replicateBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h) {
  // The border columns first, so that the border rows then carry the corner
  // pixels out into the corner cells.
  for (std::ptrdiff_t y = 1; y <= h; ++y) {
    image[0][y] = image[1][y];
    image[w + 1][y] = image[w][y];
  }
  for (std::ptrdiff_t x = 0; x <= w + 1; ++x) {
    image[x][0] = image[x][1];
    image[x][h + 1] = image[x][h];
  }
}

void clearBorder(PaddedPlane image, std::ptrdiff_t w, std::ptrdiff_t h) {
  for (std::ptrdiff_t x = 1; x <= w; ++x) image[x][0] = image[x][h + 1] = 0.0f;
  for (std::ptrdiff_t y = 0; y <= h + 1; ++y) image[0][y] = image[w + 1][y] = 0.0f;
}

}  // namespace canny::detail
