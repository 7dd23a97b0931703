#include "engine/hysteresis.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "engine/seedScan.h"
#include "engine/vectorClones.h"

namespace canny::detail {

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

class Tracer {
 public:
  Tracer(PaddedPlane image, float t1, float t2, std::int32_t width, std::int32_t height)
      : image_(image), t1_(t1), t2_(t2), width_(width), height_(height) {}

  // Depth first from (x, y), in exactly the order nested calls would take.
  void trace(std::uint32_t x, std::uint32_t y) {
    image_[x][y] = kEdgeMark;
    stack_.push_back({x, y, 0});
    while (!stack_.empty()) {
      PendingCell &cell = stack_.back();
      bool nested = false;
      while (cell.nextNeighbour < kNestedNeighbours) {
        const std::uint32_t i = cell.nextNeighbour++;
        const std::int64_t nx = std::int64_t{cell.x} + kNeighbourDx[i];
        const std::int64_t ny = std::int64_t{cell.y} + kNeighbourDy[i];
        if (canFollow(nx, ny)) {
          image_[nx][ny] = kEdgeMark;
          stack_.push_back({static_cast<std::uint32_t>(nx), static_cast<std::uint32_t>(ny), 0});
          nested = true;
          break;
        }
      }
      if (nested) continue;
      if (canFollow(cell.x, std::int64_t{cell.y} - 1)) {
        cell.y -= 1;
        cell.nextNeighbour = 0;
        image_[cell.x][cell.y] = kEdgeMark;
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
    const float v = image_[x][y];
    return t1_ < v && v <= t2_ && v != kEdgeMark;
  }

  PaddedPlane image_;
  float t1_, t2_;
  std::int64_t width_, height_;
  std::vector<PendingCell> stack_;
};

}  // namespace

bool traceEdge(std::int32_t x, std::int32_t y, PaddedPlane image, float t1, float t2,
               std::int32_t width, std::int32_t height) {
  if (x < 1 || x > width || y < 1 || y > height) return true;
  try {
    Tracer(image, t1, t2, width, height).trace(x, y);
  } catch (const std::bad_alloc &) {
    return false;
  }
  return true;
}

namespace {

ENGINE_VECTOR_CLONES
void clearUnmarked(float *cells, std::ptrdiff_t count) {
  for (std::ptrdiff_t i = 0; i < count; ++i) cells[i] = cells[i] < kEdgeMark ? 0.0f : cells[i];
}

}  // namespace

bool markEdges(PaddedPlane image, float t1, float t2, std::int32_t width, std::int32_t height) {
  if (width < 1 || height < 1) return true;
  try {
    Tracer tracer(image, t1, t2, width, height);
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

bool applyHysteresis(PaddedPlane image, float t1, float t2, std::int32_t width,
                     std::int32_t height) {
  if (!markEdges(image, t1, t2, width, height)) return false;
  for (std::int64_t x = 1; x <= width; ++x) clearUnmarked(image[x] + 1, height);
  return true;
}

}  // namespace canny::detail
