#include "imaging/StageGray.h"

#include <algorithm>
#include <cmath>

float largestValue(const float *values, std::size_t count) {
  float largest = 0.0f;
  for (std::size_t i = 0; i < count; ++i)
    if (values[i] > largest) largest = values[i];
  return largest;
}

void drawStageGray(const float *values, std::size_t count, float white, std::uint8_t *gray) {
  for (std::size_t i = 0; i < count; ++i) {
    const double v = values[i] * 255.0 / white;
    gray[i] = v >= 0.0 ? std::uint8_t(std::lround(std::min(v, 255.0))) : 0;
  }
}
