// Hysteresis alone, on planes and thresholds of the fuzzer's making, in both
// of the engine's forms: applyHysteresis over a padded plane of columns, and
// linkEdges over a row-major grid (the fast pipeline's). Always: no access
// outside the cells (every column, and the grid, is an allocation of its own
// watched by AddressSanitizer) and an end (libFuzzer's -timeout catches a
// hang).
//
// applyHysteresis: the border untouched, NaN cells kept, every other interior
// cell left at 0, 255, or its own entry value when that was above 255; with
// ordinary thresholds (0 <= t1, t2 < 255) and no NaN cell, the edge set is
// exactly the cells reached from a seed (>= t2) through 8-neighbours above
// t1, found here by a plain breadth-first search.
//
// linkEdges (only without NaN cells, which it does not take): the marked set
// is exactly that search's, for any thresholds; unmarked cells, and the
// padding at the end of each grid row, keep their values.
//
// Input: width, height (one byte each, 0..64), t1, t2 (each a flag byte, then
// if the flag is odd four bytes of big endian float bits, else one byte b
// giving b / 16), a mode byte, then the cells column by column. Mode bit 0
// set: each cell is four bytes of raw float bits; clear: one byte b gives the
// value b / 16, on the thresholds' grid and near those the screens use. Mode bit 1 set: the
// border cells come from the input too; clear: the border is 0, as the
// detector leaves it. Mode bits 2-3: 0 to 3 cells of padding after each grid
// row.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "engine/PaddedPlane.h"
#include "engine/gridHysteresis.h"
#include "engine/hysteresis.h"
#include "fuzzInput.h"

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

// linkEdges over the same interior, in a grid of its own allocation.
void checkGrid(Cells &entry, const std::vector<bool> &edge, float t1, float t2, std::int64_t w,
               std::int64_t h, std::int64_t padding) {
  constexpr float kPadding = 3.0f;
  const std::int64_t stride = w + 2 + padding;
  const auto cells = static_cast<std::size_t>(stride * (h + 2));
  auto *grid = new float[cells];
  std::fill(grid, grid + cells, kPadding);
  fenceGrid(grid, stride, w, h);
  for (std::int64_t y = 1; y <= h; ++y)
    for (std::int64_t x = 1; x <= w; ++x) grid[y * stride + x] = entry.at(x, y);
  if (!linkEdges(grid, stride, w, h, t1, t2)) fail("linkEdges ran out of memory");
  for (std::int64_t y = 0; y <= h + 1; ++y) {
    for (std::int64_t x = 0; x < stride; ++x) {
      const float v = grid[y * stride + x];
      if (x > w + 1) {
        if (!sameBits(v, kPadding)) fail("linkEdges wrote into a row's padding");
      } else if (x == 0 || y == 0 || x == w + 1 || y == h + 1) {
        if (!std::isnan(v)) fail("linkEdges unmarked the fence");
      } else if (edge[static_cast<std::size_t>(x * entry.rows + y)]) {
        if (!std::isnan(v)) fail("linkEdges missed a cell reached from a seed");
      } else if (!sameBits(v, entry.at(x, y))) {
        fail("linkEdges changed a cell that no seed reaches");
      }
    }
  }
  delete[] grid;
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
  bool anyNaN = false;
  for (std::int64_t x = 0; x < columns; ++x) {
    for (std::int64_t y = 0; y < rows; ++y) {
      const bool border = x == 0 || y == 0 || x == columns - 1 || y == rows - 1;
      if (border && !fuzzedBorder) continue;
      const float v = rawFloats ? in.anyFloat() : static_cast<float>(in.byte()) / 16.0f;
      entry.at(x, y) = v;
      if (!border && std::isnan(v)) anyNaN = true;
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

  if (anyNaN) {
    freePlane(plane, columns);
    return 0;
  }
  const std::vector<bool> edge = expectedEdges(entry, t1, t2, width, height);
  if (t1 >= 0.0f && t2 < 255.0f) {
    for (std::int64_t x = 1; x <= width; ++x)
      for (std::int64_t y = 1; y <= height; ++y)
        if ((plane[x][y] == 255.0f) != edge[static_cast<std::size_t>(x * rows + y)])
          fail("the edge set differs from the cells reached from a seed");
  }
  freePlane(plane, columns);
  checkGrid(entry, edge, t1, t2, width, height, padding);
  return 0;
}
