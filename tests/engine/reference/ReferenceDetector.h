#pragma once
// A deliberately plain second Canny detector that the engine is checked
// against: one loop per rule, no shortcuts, the same single/double precision
// at every step, and hysteresis as a breadth-first search from the seeds
// instead of a depth-first trace. It shares no code with the engine.
#include <cstdint>

namespace reference {

// Overwrites the width x height gray bytes with their edge map (255 or 0).
void detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
            std::int32_t height, std::uint8_t *data);

}  // namespace reference
