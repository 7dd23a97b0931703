#include "imaging/GrayBitmapContext.h"

#include <cstdlib>
#include <limits>
#include <utility>

#include "imaging/GrayBitmap.h"
#include "imaging/PictureMemory.h"

namespace {
std::nullptr_t fail(QString *failure, const char *reason) {
  if (failure) *failure = QString::fromLatin1(reason);
  return nullptr;
}
}  // namespace

std::unique_ptr<GrayBitmapContext> GrayBitmapContext::create(int width, int height,
                                                             QString *failure) {
  // A surface needs at least one pixel; nothing is allocated for an empty one.
  if (width <= 0 || height <= 0) return fail(failure, kContextNotCreated);
  // Both fit in 31 bits, so the product fits in 64; a byte count the address
  // space cannot hold is memory that cannot be had.
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height);
  if (bytes > std::numeric_limits<std::size_t>::max()) return fail(failure, kMemoryNotAllocated);
  // Picture memory is malloc's for small surfaces and huge pages for large
  // ones, whose fresh pages a virtual machine otherwise faults in one by one.
  auto *data = static_cast<std::uint8_t *>(allocatePictureMemory(std::size_t(bytes)));
  if (!data) return fail(failure, kMemoryNotAllocated);
  QImage bitmap = grayBitmapOver(data, width, height);
  if (bitmap.isNull()) {
    std::free(data);
    return fail(failure, kContextNotCreated);
  }
  return std::unique_ptr<GrayBitmapContext>(new GrayBitmapContext(data, std::move(bitmap)));
}

GrayBitmapContext::GrayBitmapContext(std::uint8_t *data, QImage bitmap)
    : _data(data), _bitmap(std::move(bitmap)) {}

QImage GrayBitmapContext::takeBitmap() {
  if (!_data) return {};
  const int w = width();
  const int h = height();
  _bitmap = QImage();
  std::uint8_t *const data = std::exchange(_data, nullptr);
  // Same layout as the surface's, which Qt took already for these sizes.
  QImage image(
      data, w, h, w, QImage::Format_Grayscale8, [](void *memory) { std::free(memory); }, data);
  if (image.isNull()) std::free(data);  // a null image never calls its cleanup
  return image;
}

GrayBitmapContext::~GrayBitmapContext() {
  // The surface goes first, then the memory under it.
  _bitmap = QImage();
  std::free(_data);
}
