#pragma once
// A deliberately plain second Canny detector that the engine is checked against: one loop per rule,
// no shortcuts, the same single/double precision at every step, and hysteresis as a breadth-first
// search from the seeds instead of a depth-first trace. It shares no code with the engine.
#include <cstdint>
#include <vector>

namespace reference {

// Overwrites the width x height gray bytes with their edge map (255 or 0).
void detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
            std::int32_t height, std::uint8_t *data);

// The steps before hysteresis, width x height values row after row: the smoothed picture, the
// gradient magnitudes, and the magnitudes of at least t1 that non-maximum suppression leaves.
struct Stages {
  std::vector<float> smoothed, magnitude, thinned;
};
Stages stages(float t1, float sigma, std::int32_t steps, std::int32_t width, std::int32_t height,
              const std::uint8_t *data);

}  // namespace reference
