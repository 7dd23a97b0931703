#include "engine/EdgeDetector.h"

#include <new>

#include "engine/rowDetector.h"
#include "engine/rowGrid.h"

struct EdgeDetector::Memory {
  RowGrid grid;
};

EdgeDetector::EdgeDetector() noexcept = default;
EdgeDetector::~EdgeDetector() = default;
EdgeDetector::EdgeDetector(EdgeDetector &&) noexcept = default;
EdgeDetector &EdgeDetector::operator=(EdgeDetector &&) noexcept = default;

bool EdgeDetector::detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  if (!_memory) _memory.reset(new (std::nothrow) Memory);
  return _memory && detectByRows(_memory->grid, t1, t2, sigma, steps, width, height, data);
}

void EdgeDetector::releaseMemory() { _memory.reset(); }
