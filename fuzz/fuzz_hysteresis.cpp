// Hysteresis alone, on planes and thresholds of the fuzzer's making, in both
// of the engine's forms: applyHysteresis over a padded plane of columns, and
// the fast pipeline's linking over a class map, in strips joined afterwards.
// Always: no access outside the cells (every column, and the map, is an
// allocation of its own watched by AddressSanitizer) and an end (libFuzzer's
// -timeout catches a hang).
//
// applyHysteresis: the border untouched, NaN cells kept, every other interior
// cell left at 0, 255, or its own entry value when that was above 255; with
// ordinary thresholds (0 <= t1, t2 < 255), the edge set is exactly the cells
// reached from a seed (>= t2) through 8-neighbours above t1, found here by a
// plain breadth-first search.
//
// Class map: for any thresholds and values, the edge map written as it is
// linked is the one the plain form writes; the border and the padding at the end of
// each map row keep their values, also with strips of a row or two and
// stacks of a single cell.
//
// Input: width, height (one byte each, 0..64), t1, t2 (each a flag byte, then
// if the flag is odd four bytes of big endian float bits, else one byte b
// giving b / 16), a mode byte, then the cells column by column. Mode bit 0
// set: each cell is four bytes of raw float bits; clear: one byte b gives the
// value b / 16, on the thresholds' grid and near those the screens use. Mode bit 1 set: the
// border cells come from the input too; clear: the border is 0, as the
// detector leaves it. Mode bits 2-3: 0 to 3 cells of padding after each map
// row. Mode bits 4-5: 1 to 4 strips. Mode bit 6: stacks of one cell.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "engine/PaddedPlane.h"
#include "engine/edgeClasses.h"
#include "engine/gridHysteresis.h"
#include "engine/hysteresis.h"
#include "fuzzInput.h"

using namespace canny::detail;

namespace {

void fail(const char *what) {
  std::fprintf(stderr, "fuzz_hysteresis: %s\n", what);
  std::abort();
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Cell (x, y) of a plane kept as one vector, column by column.
struct Cells {
  std::int64_t rows;
  std::vector<float> values;
  float &at(std::int64_t x, std::int64_t y) {
    return values[static_cast<std::size_t>(x * rows + y)];
  }
};

// The edge set as characterised: seeds and every interior cell joined to one
// through interior cells above t1.
std::vector<bool> expectedEdges(Cells &entry, float t1, float t2, std::int64_t w, std::int64_t h) {
  std::vector<bool> edge(entry.values.size(), false);
  std::deque<std::pair<std::int64_t, std::int64_t>> pending;
  for (std::int64_t x = 1; x <= w; ++x)
    for (std::int64_t y = 1; y <= h; ++y)
      if (entry.at(x, y) >= t2) {
        edge[static_cast<std::size_t>(x * entry.rows + y)] = true;
        pending.emplace_back(x, y);
      }
  while (!pending.empty()) {
    const auto [x, y] = pending.front();
    pending.pop_front();
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const std::int64_t nx = x + dx, ny = y + dy;
        if (nx < 1 || nx > w || ny < 1 || ny > h) continue;
        const auto i = static_cast<std::size_t>(nx * entry.rows + ny);
        if (edge[i] || !(entry.at(nx, ny) > t1)) continue;
        edge[i] = true;
        pending.emplace_back(nx, ny);
      }
    }
  }
  return edge;
}

// The plain form's edge map of a plane after applyHysteresis: what its
// write-back makes of each interior cell.
std::uint8_t writtenByte(float v) {
  return v > 255.0f ? 255 : v >= 0.0f ? static_cast<std::uint8_t>(v) : 0;
}

// The fast form over the same interior: the cells classed into a map of its
// own allocation, linked in `strips` strips with stacks of `capacity` cells,
// and the strips joined. Its edge map must be the plain form's, byte for
// byte, whatever the thresholds and values.
void checkClassMap(Cells &entry, PaddedPlane plain, float t1, float t2, std::int64_t w,
                   std::int64_t h, std::int64_t padding, int strips, std::ptrdiff_t capacity) {
  constexpr std::uint8_t kPadding = 77;
  const std::int64_t pitch = w + 2 + padding;
  const auto cells = static_cast<std::size_t>(pitch * (h + 2));
  auto *bytes = new std::uint8_t[cells];
  std::fill(bytes, bytes + cells, kPadding);
  const ClassMap map{bytes, pitch, w, h};
  for (std::int64_t y = 0; y <= h + 1; ++y)
    for (std::int64_t x = 0; x <= w + 1; ++x) {
      const bool border = x == 0 || y == 0 || x == w + 1 || y == h + 1;
      map.row(y)[x] = border ? edgeClass::kNone : edgeClass::of(entry.at(x, y), t1, t2);
    }
  std::vector<std::ptrdiff_t> stack(static_cast<std::size_t>(capacity));
  const PendingStack pending{stack.data(), capacity};
  // An allocation of its own, so that a byte written beyond it is caught.
  auto *edges = new std::uint8_t[static_cast<std::size_t>(std::max<std::int64_t>(w * h, 1))];
  strips = static_cast<int>(std::clamp<std::int64_t>(strips, 1, std::max<std::int64_t>(h, 1)));
  for (int s = 0; s < strips; ++s) {
    const std::ptrdiff_t y0 = 1 + h * s / strips, y1 = 1 + h * (s + 1) / strips;
    StripLinker linker(map, y0, pending, edges);
    for (std::ptrdiff_t y = y0; y < y1;) linker.linkUntil(y = std::min(y + 3, y1));
  }
  for (int s = 1; s < strips; ++s) joinStrips(map, 1 + h * s / strips, pending, edges);
  for (std::int64_t y = 0; y <= h + 1; ++y) {
    for (std::int64_t x = 0; x < pitch; ++x) {
      const std::uint8_t c = map.row(y)[x];
      if (x > w + 1) {
        if (c != kPadding) fail("linking wrote into a row's padding");
      } else if (x == 0 || y == 0 || x == w + 1 || y == h + 1) {
        if (c != edgeClass::kNone) fail("linking changed the border");
      } else if (edgeClass::edgeByte(c) != writtenByte(plain[x][y])) {
        fail("the fast form's classes differ from the plain form's edge map");
      } else if (edges[(y - 1) * w + x - 1] != writtenByte(plain[x][y])) {
        fail("the fast form's edge map differs from the plain form's");
      }
    }
  }
  delete[] edges;
  delete[] bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzInput in(data, size);
  const std::int32_t width = in.inRange(0, 64);
  const std::int32_t height = in.inRange(0, 64);
  const float t1 = in.gridOrAnyFloat(1.0f / 16);
  const float t2 = in.gridOrAnyFloat(1.0f / 16);
  const std::uint8_t mode = in.byte();
  const bool rawFloats = mode & 1, fuzzedBorder = mode & 2;
  const std::int64_t padding = (mode >> 2) & 3;

  const std::int64_t columns = std::int64_t{width} + 2, rows = std::int64_t{height} + 2;
  Cells entry{rows, std::vector<float>(static_cast<std::size_t>(columns * rows), 0.0f)};
  for (std::int64_t x = 0; x < columns; ++x) {
    for (std::int64_t y = 0; y < rows; ++y) {
      const bool border = x == 0 || y == 0 || x == columns - 1 || y == rows - 1;
      if (border && !fuzzedBorder) continue;
      const float v = rawFloats ? in.anyFloat() : static_cast<float>(in.byte()) / 16.0f;
      entry.at(x, y) = v;
    }
  }

  PaddedPlane plane = nullptr;
  allocPlane(plane, columns, rows);
  if (!planeIsComplete(plane, columns)) fail("allocPlane failed on a small plane");
  for (std::int64_t x = 0; x < columns; ++x)
    for (std::int64_t y = 0; y < rows; ++y) plane[x][y] = entry.at(x, y);

  if (!applyHysteresis(plane, t1, t2, width, height)) fail("hysteresis ran out of memory");

  for (std::int64_t x = 0; x < columns; ++x) {
    for (std::int64_t y = 0; y < rows; ++y) {
      const float before = entry.at(x, y), after = plane[x][y];
      const bool border = x == 0 || y == 0 || x == columns - 1 || y == rows - 1;
      if (border || std::isnan(before)) {
        if (!sameBits(before, after)) fail(border ? "a border cell changed" : "a NaN cell changed");
      } else if (after != 0.0f && after != 255.0f &&
                 !(sameBits(before, after) && before > 255.0f)) {
        fail("an interior cell left at neither 0, 255 nor its own value above 255");
      }
    }
  }

  checkClassMap(entry, plane, t1, t2, width, height, padding, 1 + ((mode >> 4) & 3),
                mode & 64 ? 1 : 1024);
  const std::vector<bool> edge = expectedEdges(entry, t1, t2, width, height);
  if (t1 >= 0.0f && t2 < 255.0f) {
    for (std::int64_t x = 1; x <= width; ++x)
      for (std::int64_t y = 1; y <= height; ++y)
        if ((plane[x][y] == 255.0f) != edge[static_cast<std::size_t>(x * rows + y)])
          fail("the edge set differs from the cells reached from a seed");
  }
  freePlane(plane, columns);
  return 0;
}
