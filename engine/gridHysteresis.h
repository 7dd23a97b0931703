#pragma once
// Hysteresis for the detector's fast pipeline, over a class map (see
// edgeClasses.h). The marked set is the closure of the seeds through
// followable cells whatever the order, so the map is linked in strips of rows
// at once, each strip on its own core and kept to its own rows, and the
// strips are joined afterwards where they meet.
//
// The edge map is written as the strips are linked: a strip's rows once
// they are linked, and any cell marked later, by a search from rows further
// down or from a neighbouring strip, on its own.
//
// Pending cells wait on a stack of fixed capacity, so that memory stays
// bounded whatever the picture. When it is full a newly marked cell is left
// kPending in the map instead, and the rows are scanned for such cells again
// once the stack has emptied.
#include <cstddef>
#include <cstdint>

#include "engine/byteRows.h"
#include "engine/edgeClasses.h"

namespace canny::detail {

struct PendingStack {
  std::ptrdiff_t *cells;
  std::ptrdiff_t capacity;  // at least 1
};

// Links one strip of rows, from y0 on, as its rows get classed, writing the
// edge map's bytes for them: map cell (x, y) is byte x - 1 of row y - 1 of
// `edges`.
class StripLinker {
 public:
  StripLinker(const ClassMap &map, std::ptrdiff_t y0, PendingStack stack, EdgeRows edges)
      : _map(map), _y0(y0), _next(y0), _stack(stack), _edges(edges) {}
  // Rows up to y - 1 are classed: marks every cell of rows y0..y - 1 that a
  // seed among them reaches without leaving them.
  void linkUntil(std::ptrdiff_t y);

 private:
  ClassMap _map;
  std::ptrdiff_t _y0, _next;
  PendingStack _stack;
  EdgeRows _edges;
};

// Joins two strips linked on their own, the lower starting at `firstRow`.
// Once every pair of neighbouring strips is joined (in any order), every
// cell that a seed reaches is marked and written as an edge.
void joinStrips(const ClassMap &map, std::ptrdiff_t firstRow, PendingStack stack, EdgeRows edges);

}  // namespace canny::detail
