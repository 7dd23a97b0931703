#pragma once
#include <cstdint>

// The detector's four settings, passed to it unchanged.
struct EdgeSettings {
  float t1;
  float t2;
  float sigma;
  std::int32_t steps;

  bool operator==(const EdgeSettings &) const = default;
};
