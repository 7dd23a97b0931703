#include "engine/gradients.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "engine/lineKernels.h"
#include "engine/sectorBounds.h"

namespace canny::detail {

void computeGradients(PaddedPlane image, PaddedPlane gx, PaddedPlane gy, std::int32_t width,
                      std::int32_t height) {
  if (width < 1 || height < 1) return;
  for (std::ptrdiff_t x = 1; x <= width; ++x)
    lines::gradients(image[x - 1], image[x], image[x + 1], gx[x], gy[x], height);
}

float gradientAngle(float gx, float gy) {
  if (std::fabs(static_cast<double>(gx)) < 1e-6) {
    if (std::fabs(static_cast<double>(gy)) < 1e-6) return 0.0f;
    return 1.5708f;
  }
  return std::atan(gy / gx);
}

int angleSector(double angle) {
  if (angle >= -0.3927 && angle <= 0.3927) return 1;
  if (angle > 0.3927 && angle <= 1.1781) return 2;
  if ((angle > 1.1781 && angle <= 1.5708) || (angle >= -1.5708 && angle < -1.1781)) return 3;
  if (angle >= -1.1781 && angle < -0.3927) return 4;
  return 0;
}

namespace {

float floatFromBits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The largest non-negative float p with keep(p), given keep(0) and !keep(10):
// a binary search over the bit patterns, which order non-negative floats.
template <typename Keep>
float largestKept(Keep keep) {
  std::uint32_t lo = 0, hi = 0x41200000u;  // 0 and 10
  while (hi - lo > 1) {
    const std::uint32_t mid = lo + (hi - lo) / 2;
    (keep(floatFromBits(mid)) ? lo : hi) = mid;
  }
  return floatFromBits(lo);
}

SectorBounds findSectorBounds() {
  auto angle = [](float q) { return static_cast<double>(gradientAngle(1.0f, q)); };
  SectorBounds b{};
  b.upToLow = largestKept([&](float p) { return angle(p) <= 0.3927; });
  b.upToHigh = largestKept([&](float p) { return angle(p) <= 1.1781; });
  b.downToLow = -largestKept([&](float p) { return angle(-p) >= -0.3927; });
  b.downToHigh = -largestKept([&](float p) { return angle(-p) >= -1.1781; });
  return b;
}

}  // namespace

const SectorBounds &sectorBounds() {
  static const SectorBounds bounds = findSectorBounds();
  return bounds;
}

int gradientSector(float gx, float gy) { return sectorBounds().sectorOf(gx, gy); }

}  // namespace canny::detail
