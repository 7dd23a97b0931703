#pragma once

namespace canny::detail {
// Suppression needs only the sector of each gradient's angle, not the angle.
// The arc tangent is monotonic, so the sector bounds on the angle become bounds
// on the quotient gy / gx, found once from this machine's own atanf; a sector
// then costs a division and a few comparisons.

struct SectorBounds {
  // Largest quotients whose angle is at most 0.3927 and 1.1781, and smallest
  // quotients whose angle is at least -0.3927 and -1.1781.
  float upToLow, upToHigh, downToLow, downToHigh;

  int sectorOf(float gx, float gy) const {
    if (__builtin_fabsf(gx) <= kBelowMicro)
      return __builtin_fabsf(gy) <= kBelowMicro ? 1 : 3;  // angle 0, or the fixed 1.5708
    const float q = gy / gx;
    if (q > upToHigh) return 3;
    if (q > upToLow) return 2;
    if (q >= downToLow) return 1;
    if (q >= downToHigh) return 4;
    return q < downToHigh ? 3 : 0;  // 0: a NaN quotient
  }

  // The largest float below 1e-6: |v| < 1e-6 in double exactly when |v| is
  // at most this.
  static constexpr float kBelowMicro = 9.99999997475242707878e-07f;
};

const SectorBounds &sectorBounds();

}  // namespace canny::detail
