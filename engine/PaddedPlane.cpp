#include "engine/PaddedPlane.h"

#include <cstdlib>

void allocPlane(PaddedPlane &plane, std::int64_t columns, std::int64_t rows) {
  plane = nullptr;
  if (columns < 0 || rows < 0) return;
  // calloc leaves every slot null, so a plane cut short by a failed column is
  // still safe to release.
  plane = static_cast<float **>(std::calloc(static_cast<std::size_t>(columns) + 1, sizeof(float *)));
  if (!plane) return;
  const std::size_t columnBytes = static_cast<std::size_t>(rows) * sizeof(float);
  for (std::int64_t i = 0; i < columns; ++i) {
    plane[i] = static_cast<float *>(std::malloc(columnBytes == 0 ? 1 : columnBytes));
    if (!plane[i]) return;
  }
}

void freePlane(PaddedPlane plane, std::int64_t columns) {
  if (!plane) return;
  for (std::int64_t i = 0; i < columns; ++i) std::free(plane[i]);
  std::free(plane);
}

bool planeIsComplete(PaddedPlane plane, std::int64_t columns) {
  if (!plane) return false;
  for (std::int64_t i = 0; i < columns; ++i)
    if (!plane[i]) return false;
  return true;
}
