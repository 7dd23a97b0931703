#pragma once
// A deliberately plain second Canny detector that the engine is checked
// against: one loop per rule, no shortcuts, the same single/double precision
// at every step, and hysteresis as a breadth-first search from the seeds
// instead of a depth-first trace.
#include <cstdint>
#include <vector>

namespace reference {

// A padded grid of (width + 2) x (height + 2) cells, column after column.
struct Grid {
  std::int32_t width, height;
  std::vector<float> cells;

  Grid(std::int32_t w, std::int32_t h, float fill = 0.0f)
      : width(w), height(h), cells(static_cast<std::size_t>(w + 2) * (h + 2), fill) {}
  float &at(std::int32_t x, std::int32_t y) { return cells[x * (height + 2) + y]; }
  float at(std::int32_t x, std::int32_t y) const { return cells[x * (height + 2) + y]; }
};

void smooth(std::vector<float> &flat, std::int32_t width, std::int32_t height, float sigma,
            std::int32_t steps);
void gradients(const Grid &image, Grid &gx, Grid &gy);
float angle(float gx, float gy);
int sector(double angle);  // 1..4, or 0 for none
void suppress(Grid &magnitudes, const Grid &gx, const Grid &gy);
void hysteresis(Grid &magnitudes, float t1, float t2);
void detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
            std::int32_t height, std::uint8_t *data);

}  // namespace reference
