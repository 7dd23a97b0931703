#include "engine/rowGrid.h"

#include <algorithm>

#include "engine/largeBlock.h"
#include "engine/parallel.h"
#include "engine/sweeps.h"

RowGrid::RowGrid(std::ptrdiff_t width, std::ptrdiff_t height)
    : width(width), height(height), stride(width + 2) {
  allocPlane(rows, height + 2, width + 2);  // a plane of rows, one block
  if (!planeIsComplete(rows, height + 2)) return;
  cells = rows[0];
  scratchPerPart = sweeps::kBlockLanes * std::max(width + 2, height);
  const auto floats =
      static_cast<std::size_t>(scratchPerPart) * static_cast<std::size_t>(mostParts());
  scratch = static_cast<float *>(allocateLargeBlock(floats * sizeof(float)));
}

RowGrid::~RowGrid() {
  freeLargeBlock(scratch);
  freePlane(rows, height + 2);
}
