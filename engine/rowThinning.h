#pragma once
// Gradients, the t1 cut, suppression and classing of the grid's rows in one
// pass: each row's classes are written over the row's own floats, which no
// later gradient reads, so the class map needs no memory of its own.
#include <cstddef>

#include "engine/edgeClasses.h"
#include "engine/rowGrid.h"

namespace canny::detail {

// The first cell, in the plain form's column-by-column order, where its
// suppression pass stops (a NaN angle at a cell of non-zero magnitude, which
// takes an infinite gradient in both directions): grid cell (x, y). That cell
// and every one after it in that order keep their magnitudes. x is
// width + 1 when the pass never stops.
struct SuppressionStop {
  std::ptrdiff_t x, y;
};

// Looks for the stop over the smoothed grid; needed only when smoothing left
// samples too large for every gradient to be finite.
SuppressionStop findSuppressionStop(const RowGrid &grid, float t1);

// The class map laid over the grid's floats: class row y in float row y.
ClassMap classMapOver(const RowGrid &grid);

// Scratch rows of width + 2 floats that a RowThinner uses.
inline constexpr std::ptrdiff_t kThinnerRows = 9;

// The grid's rows as the part of the work with rows y0..y1 - 1 sees them. The
// two rows beyond each of its ends belong to the neighbouring parts, which
// overwrite them with classes, so the part reads copies of them, kept in
// `copies` (four rows), made for every part before any part starts.
class PartRows {
 public:
  PartRows(const RowGrid &grid, std::ptrdiff_t y0, std::ptrdiff_t y1, bool alone, float *copies);
  void copyShared() const;
  const float *operator[](std::ptrdiff_t y) const {
    for (int i = 0; i < 4; ++i)
      if (y == _shared[i]) return _copies + i * _length;
    return _rows[y];
  }

 private:
  float *const *_rows;
  float *_copies;
  std::ptrdiff_t _length, _shared[4];  // -1 where a row is the part's own or the border
};

// Classes the rows of one part of the grid, y0 on, a batch at a time;
// scratch holds kThinnerRows rows.
class RowThinner {
 public:
  RowThinner(const PartRows &rows, const ClassMap &map, std::ptrdiff_t y0, float t1, float t2,
             SuppressionStop stop, float *scratch);
  // Classes the rows up to y - 1. Class row 0 and class row height + 1 (all
  // kNone) are written by the parts that reach them.
  void classUntil(std::ptrdiff_t y);

 private:
  void gradientsOfRow(std::ptrdiff_t y);

  const PartRows &_rows;
  ClassMap _map;
  std::ptrdiff_t _next;
  float _t1, _t2;
  SuppressionStop _stop;
  const float *_zeros;
  float *_gx[2], *_gy[2], *_magnitude[3], *_thinned;
};

}  // namespace canny::detail
