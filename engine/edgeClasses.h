#pragma once
// After thinning, hysteresis and the edge map need only a few facts about a
// cell's thinned value v, so the fast pipeline keeps one byte per cell:
//   seed:       v >= t2. Marked from the start; its neighbours still to follow.
//   followable: t1 < v <= t2 and v != 255 (the plain form's mark, which it
//               never follows). Joins an edge when a marked neighbour reaches
//               it.
//   bright:     v >= 255. Written as 255 whether marked or not, as the plain
//               form's clamp would.
// A cell is marked exactly when it is a seed or joined to one through
// followable cells, whatever order seeds and neighbours are taken in: a marked
// cell is never followed again and only followable cells are, so the marks
// grow to that closure and stop. The comparisons are the plain form's own, so
// every threshold (negative, NaN, infinite, t1 > t2, t2 >= 255) classes a cell
// as the plain form treats it.
#include <cstddef>
#include <cstdint>

#include "engine/vectorClones.h"

namespace canny::detail {

namespace edgeClass {

inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kFollowable = 1;
inline constexpr std::uint8_t kBright = 2;     // a bit: followable cells can be bright too
inline constexpr std::uint8_t kPending = 254;  // marked, neighbours not yet followed
inline constexpr std::uint8_t kMarked = 255;   // marked, neighbours followed

// In int masks and bitwise logic rather than bools and selects, which keeps
// the loops around it vectorising.
ENGINE_INLINE std::uint8_t of(float v, float t1, float t2) {
  const int seed = -static_cast<int>(v >= t2);
  const int followable = (t1 < v) & (v <= t2) & (v != 255.0f);
  const int bright = v >= 255.0f;
  const int unmarked = followable * kFollowable | bright * kBright;
  return static_cast<std::uint8_t>((seed & kPending) | (~seed & unmarked));
}

// The same where t2 <= 255 (not NaN), as the screens' thresholds are: every
// value of at least 255 is then a seed, and every value at most t2 other than
// 255, so two comparisons decide.
inline bool thresholdsAreOrdinary(float t2) { return t2 <= 255.0f; }

ENGINE_INLINE std::uint8_t ofOrdinary(float v, float t1, float t2) {
  const int seed = -static_cast<int>(v >= t2);
  const int followable = t1 < v;
  return static_cast<std::uint8_t>((seed & kPending) | (~seed & followable));
}

ENGINE_INLINE bool isFollowable(std::uint8_t c) { return (c | kBright) == (kFollowable | kBright); }

// Every class but kNone and a followable cell left unmarked is an edge pixel.
ENGINE_INLINE std::uint8_t edgeByte(std::uint8_t c) { return c >= kBright ? 255 : 0; }

}  // namespace edgeClass

// The classes of a padded grid, cell (x, y) at cells[y * pitch + x], interior
// x = 1..width, y = 1..height; border cells are kNone.
struct ClassMap {
  std::uint8_t *cells;
  std::ptrdiff_t pitch, width, height;
  std::uint8_t *row(std::ptrdiff_t y) const { return cells + y * pitch; }
};

}  // namespace canny::detail
