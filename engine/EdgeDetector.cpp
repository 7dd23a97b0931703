#include <canny/EdgeDetector.h>
#include <canny/canny.h>

#include <new>

struct EdgeDetector::Memory {
  canny::Detector detector;
};

EdgeDetector::EdgeDetector() noexcept = default;
EdgeDetector::~EdgeDetector() = default;
EdgeDetector::EdgeDetector(EdgeDetector &&) noexcept = default;
EdgeDetector &EdgeDetector::operator=(EdgeDetector &&) noexcept = default;

bool EdgeDetector::detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                          std::int32_t height, std::uint8_t *data) {
  if (width <= 0 || height <= 0) return true;
  if (!_memory) _memory.reset(new (std::nothrow) Memory);
  const canny::ImageView bytes{data, width, height, width};
  return _memory && _memory->detector.detect({data, width, height, width}, bytes,
                                             {t1, t2, sigma, steps}) == canny::Status::ok;
}

void EdgeDetector::releaseMemory() {
  if (_memory) _memory->detector.releaseMemory();
  _memory.reset();
}
