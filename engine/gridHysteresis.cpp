#include "engine/gridHysteresis.h"

#include <cstdint>
#include <cstring>

#include "engine/vectorClones.h"

namespace canny::detail {

namespace {

ENGINE_VECTOR_CLONES
void writeEdgeRows(const ClassMap &map, EdgeRows edges, std::ptrdiff_t y0, std::ptrdiff_t y1) {
  const std::ptrdiff_t w = map.width;  // a local: the bytes written could alias the map's fields
  for (std::ptrdiff_t y = y0; y < y1; ++y) {
    const std::uint8_t *__restrict in = map.row(y) + 1;
    std::uint8_t *__restrict out = edges.row(y - 1);
    for (std::ptrdiff_t x = 0; x < w; ++x) out[x] = edgeClass::edgeByte(in[x]);
  }
}

// Follows marked cells to their followable neighbours, depth first, staying
// within rows y0..y1 - 1 (the border columns hold kNone). Cells it marks in
// rows before `written`, whose edge bytes are written already, it writes too.
class Tracer {
 public:
  Tracer(const ClassMap &map, std::ptrdiff_t y0, std::ptrdiff_t y1, PendingStack stack,
         EdgeRows edges, std::ptrdiff_t written)
      : _cells(map.cells),
        _pitch(map.pitch),
        _width(map.width),
        _lo(y0 * map.pitch),
        _hi(y1 * map.pitch),
        _written(written * map.pitch),
        _stack(stack),
        _edges(edges) {}

  // Follows every neighbour of the marked cell at `cell`, and theirs.
  void follow(std::ptrdiff_t cell) {
    std::ptrdiff_t size = 0;
    _stack.cells[size++] = cell;
    while (size > 0) {
      const std::ptrdiff_t c = _stack.cells[--size];
      const std::ptrdiff_t steps[8] = {-_pitch - 1, -_pitch,    -_pitch + 1, -1,
                                       1,           _pitch - 1, _pitch,      _pitch + 1};
      for (const std::ptrdiff_t step : steps) {
        const std::ptrdiff_t n = c + step;
        if (n < _lo || n >= _hi || !edgeClass::isFollowable(_cells[n])) continue;
        if (n < _written) _edges.row(n / _pitch - 1)[n % _pitch - 1] = 255;
        if (size < _stack.capacity) {
          _cells[n] = edgeClass::kMarked;
          _stack.cells[size++] = n;
        } else {
          _cells[n] = edgeClass::kPending;
          _leftPending = true;
        }
      }
    }
  }

  // Follows from every cell of row y that holds `value`, marking it.
  void followRow(std::ptrdiff_t y, std::uint8_t value) {
    std::uint8_t *row = _cells + y * _pitch;
    std::uint8_t *end = row + _width + 1;
    for (std::uint8_t *p = row + 1; p < end; ++p) {
      p = static_cast<std::uint8_t *>(std::memchr(p, value, static_cast<std::size_t>(end - p)));
      if (!p) break;
      *p = edgeClass::kMarked;
      follow(p - _cells);
    }
  }

  void followPending(std::ptrdiff_t y0, std::ptrdiff_t y1) {
    for (std::ptrdiff_t y = y0; y < y1; ++y) followRow(y, edgeClass::kPending);
  }

  // Cells left pending for want of stack may lie anywhere in rows y0..y1 - 1.
  void followLeftovers(std::ptrdiff_t y0, std::ptrdiff_t y1) {
    while (_leftPending) {
      _leftPending = false;
      followPending(y0, y1);
    }
  }

 private:
  std::uint8_t *_cells;
  std::ptrdiff_t _pitch, _width, _lo, _hi, _written;
  PendingStack _stack;
  EdgeRows _edges;
  bool _leftPending = false;
};

}  // namespace

// The rows before this batch were followed only as far as the batch's first
// row, so the last of them is followed once more.
void StripLinker::linkUntil(std::ptrdiff_t y) {
  if (y <= _next) return;
  Tracer tracer(_map, _y0, y, _stack, _edges, _next);
  if (_next > _y0) tracer.followRow(_next - 1, edgeClass::kMarked);
  tracer.followPending(_next, y);
  tracer.followLeftovers(_y0, y);
  writeEdgeRows(_map, _edges, _next, y);
  _next = y;
}

void joinStrips(const ClassMap &map, std::ptrdiff_t firstRow, PendingStack stack, EdgeRows edges) {
  Tracer tracer(map, 0, map.height + 2, stack, edges, map.height + 2);
  tracer.followRow(firstRow - 1, edgeClass::kMarked);
  tracer.followRow(firstRow, edgeClass::kMarked);
  tracer.followLeftovers(1, map.height + 1);
}

}  // namespace canny::detail
