#include "engine/seedScan.h"

#include "engine/vectorClones.h"

namespace canny::detail {

ENGINE_VECTOR_CLONES
bool chunkHasSeed(const float *cells, std::ptrdiff_t count, float t2) {
  int any = 0;  // an int: a bool accumulator keeps the loop from vectorising
  for (std::ptrdiff_t i = 0; i < count; ++i) any |= static_cast<int>(cells[i] >= t2);
  return any != 0;
}

}  // namespace canny::detail
