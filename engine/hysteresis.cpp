#include "engine/hysteresis.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "engine/vectorClones.h"

namespace {

// The neighbours in the order a trace examines them; the last one (up) is
// taken as a continuation of the same trace rather than a nested one.
constexpr int kNeighbourDx[8] = {+1, +1, +1, -1, -1, -1, 0, 0};
constexpr int kNeighbourDy[8] = {+1, 0, -1, +1, 0, -1, +1, -1};
constexpr std::uint32_t kNestedNeighbours = 7;

struct PendingCell {
  std::uint32_t x, y;
  std::uint32_t nextNeighbour;
};

// Cell [x][y] of a padded plane held column by column, the plane's own layout.
struct ColumnCells {
  PaddedPlane plane;
  float &operator()(std::int64_t x, std::int64_t y) const { return plane[x][y]; }
};

// Cell [x][y] of a grid held row by row.
struct RowCells {
  float **rows;
  float &operator()(std::int64_t x, std::int64_t y) const { return rows[y][x]; }
};

template <typename Cells>
class Tracer {
 public:
  Tracer(Cells cell, float t1, float t2, std::int32_t width, std::int32_t height)
      : cell_(cell), t1_(t1), t2_(t2), width_(width), height_(height) {}

  // Depth first from (x, y), in exactly the order nested calls would take.
  void trace(std::uint32_t x, std::uint32_t y) {
    cell_(x, y) = kEdgeMark;
    stack_.push_back({x, y, 0});
    while (!stack_.empty()) {
      PendingCell &cell = stack_.back();
      bool nested = false;
      while (cell.nextNeighbour < kNestedNeighbours) {
        const std::uint32_t i = cell.nextNeighbour++;
        const std::int64_t nx = std::int64_t{cell.x} + kNeighbourDx[i];
        const std::int64_t ny = std::int64_t{cell.y} + kNeighbourDy[i];
        if (canFollow(nx, ny)) {
          cell_(nx, ny) = kEdgeMark;
          stack_.push_back({static_cast<std::uint32_t>(nx), static_cast<std::uint32_t>(ny), 0});
          nested = true;
          break;
        }
      }
      if (nested) continue;
      if (canFollow(cell.x, std::int64_t{cell.y} - 1)) {
        cell.y -= 1;
        cell.nextNeighbour = 0;
        cell_(cell.x, cell.y) = kEdgeMark;
      } else {
        stack_.pop_back();
      }
    }
  }

 private:
  // Above the low threshold and at most the high one. The border and marked
  // cells are never followed: with the thresholds the screens use they could
  // not pass anyway, and with any others this keeps every trace inside the
  // plane and finite.
  bool canFollow(std::int64_t x, std::int64_t y) const {
    if (x < 1 || x > width_ || y < 1 || y > height_) return false;
    const float v = cell_(x, y);
    return t1_ < v && v <= t2_ && v != kEdgeMark;
  }

  Cells cell_;
  float t1_, t2_;
  std::int64_t width_, height_;
  std::vector<PendingCell> stack_;
};

}  // namespace

bool traceEdge(std::int32_t x, std::int32_t y, PaddedPlane image, float t1, float t2,
               std::int32_t width, std::int32_t height) {
  if (x < 1 || x > width || y < 1 || y > height) return true;
  try {
    Tracer<ColumnCells>({image}, t1, t2, width, height).trace(x, y);
  } catch (const std::bad_alloc &) {
    return false;
  }
  return true;
}

namespace {

// The seed scan reads every cell, and seeds are rare: a chunk of a column is
// first checked for any seed at all, in a loop that vectorises. The check is
// made when the scan reaches the chunk, after every earlier trace, so it sees
// exactly the values the cell-by-cell scan would.
constexpr std::ptrdiff_t kScanChunk = 64;

ENGINE_VECTOR_CLONES
bool chunkHasSeed(const float *cells, std::ptrdiff_t count, float t2) {
  int any = 0;
  for (std::ptrdiff_t i = 0; i < count; ++i) any |= static_cast<int>(cells[i] >= t2);
  return any != 0;
}

ENGINE_VECTOR_CLONES
void clearUnmarked(float *cells, std::ptrdiff_t count) {
  for (std::ptrdiff_t i = 0; i < count; ++i) cells[i] = cells[i] < kEdgeMark ? 0.0f : cells[i];
}

}  // namespace

bool markEdges(PaddedPlane image, float t1, float t2, std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1) return true;
  try {
    Tracer<ColumnCells> tracer({image}, t1, t2, width, height);
    for (std::int64_t x = 1; x <= width; ++x) {
      const float *column = image[x];
      for (std::int64_t y0 = 1; y0 <= height; y0 += kScanChunk) {
        const std::int64_t y1 = std::min<std::int64_t>(y0 + kScanChunk, std::int64_t{height} + 1);
        if (!chunkHasSeed(column + y0, y1 - y0, t2)) continue;
        for (std::int64_t y = y0; y < y1; ++y)
          if (column[y] >= t2)
            tracer.trace(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
      }
    }
  } catch (const std::bad_alloc &) {
    return false;
  }
  return true;
}

bool markEdgesInRows(float **rows, float t1, float t2, std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1) return true;
  // Which cells end up marked does not depend on the order in which seeds are
  // taken, so the scan runs along the rows, the way they lie in memory.
  try {
    Tracer<RowCells> tracer({rows}, t1, t2, width, height);
    for (std::int64_t y = 1; y <= height; ++y) {
      const float *row = rows[y];
      for (std::int64_t x0 = 1; x0 <= width; x0 += kScanChunk) {
        const std::int64_t x1 = std::min<std::int64_t>(x0 + kScanChunk, std::int64_t{width} + 1);
        if (!chunkHasSeed(row + x0, x1 - x0, t2)) continue;
        for (std::int64_t x = x0; x < x1; ++x)
          if (row[x] >= t2)
            tracer.trace(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
      }
    }
  } catch (const std::bad_alloc &) {
    return false;
  }
  return true;
}

bool applyHysteresis(PaddedPlane image, float t1, float t2, std::int32_t width,
                     std::int32_t height) {
  if (!markEdges(image, t1, t2, width, height)) return false;
  for (std::int64_t x = 1; x <= width; ++x) clearUnmarked(image[x] + 1, height);
  return true;
}
