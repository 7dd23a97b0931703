#include "screens/GrayBitmapContext.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "screens/GrayBitmap.h"

namespace {
constexpr std::string_view memoryNotAllocated = "Memory not allocated!";
constexpr std::string_view contextNotCreated = "Context not created!";

void report(bool reportFailures, std::string_view message) {
  if (reportFailures) std::fwrite(message.data(), 1, message.size(), stderr);
}
}  // namespace

std::unique_ptr<GrayBitmapContext> GrayBitmapContext::create(int width, int height,
                                                             bool reportFailures) {
  // A surface needs at least one pixel; nothing is allocated for an empty one.
  if (width <= 0 || height <= 0) {
    report(reportFailures, contextNotCreated);
    return nullptr;
  }
  // Both fit in 31 bits, so the product fits in 64; a byte count the address
  // space cannot hold is memory that cannot be had.
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height);
  if (bytes > std::numeric_limits<std::size_t>::max()) {
    report(reportFailures, memoryNotAllocated);
    return nullptr;
  }
  auto *data = static_cast<std::uint8_t *>(std::malloc(std::size_t(bytes)));
  if (!data) {
    report(reportFailures, memoryNotAllocated);
    return nullptr;
  }
  QImage bitmap = grayBitmapOver(data, width, height);
  if (bitmap.isNull()) {
    std::free(data);
    report(reportFailures, contextNotCreated);
    return nullptr;
  }
  return std::unique_ptr<GrayBitmapContext>(new GrayBitmapContext(data, std::move(bitmap)));
}

GrayBitmapContext::GrayBitmapContext(std::uint8_t *data, QImage bitmap)
    : _data(data), _bitmap(std::move(bitmap)) {}

GrayBitmapContext::~GrayBitmapContext() {
  // The surface goes first, then the memory under it.
  _bitmap = QImage();
  std::free(_data);
}
