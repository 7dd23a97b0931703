#include <canny/canny.h>
#include <canny/version.h>

#include <new>

#include "engine/largeBlock.h"
#include "engine/rowDetector.h"
#include "engine/rowGrid.h"
#include "engine/viewChecks.h"

namespace canny {

const char *statusMessage(Status status) {
  switch (status) {
    case Status::ok:
      return "success";
    case Status::invalidArgument:
      return "invalid argument";
    case Status::outOfMemory:
      return "out of memory";
    case Status::cancelled:
      return "cancelled";
  }
  return "unknown status";
}

namespace detail {

bool isValid(const std::uint8_t *data, std::int32_t width, std::int32_t height,
             std::ptrdiff_t stride) {
  if (width < 0 || height < 0) return false;
  if (width == 0 || height == 0) return true;
  // Both sides compared as negatives, which cannot overflow.
  const std::ptrdiff_t negativeWidth = -std::ptrdiff_t{width};
  return data && (stride >= width || stride <= negativeWidth);
}

}  // namespace detail

using detail::isValid;

struct Detector::Memory {
  detail::RowGrid grid;
};

Detector::Detector() noexcept = default;
Detector::~Detector() = default;
Detector::Detector(Detector &&other) noexcept
    : _memory(std::move(other._memory)), _cancelled(other._cancelled.exchange(false)) {}
Detector &Detector::operator=(Detector &&other) noexcept {
  _memory = std::move(other._memory);
  _cancelled = other._cancelled.exchange(false);
  return *this;
}

namespace {

bool validViews(ConstImageView input, ImageView output) {
  return isValid(input.data, input.width, input.height, input.stride) &&
         isValid(output.data, output.width, output.height, output.stride) &&
         input.width == output.width && input.height == output.height;
}

}  // namespace

Status Detector::detect(ConstImageView input, ImageView output, const Settings &settings) {
  if (!validViews(input, output)) return Status::invalidArgument;
  if (_cancelled.exchange(false)) return Status::cancelled;
  if (input.width == 0 || input.height == 0) return Status::ok;
  if (!_memory) _memory.reset(new (std::nothrow) Memory);
  if (!_memory) return Status::outOfMemory;
  return detail::detectByRows(_memory->grid, input, output, settings, _cancelled);
}

void Detector::releaseMemory() {
  _memory.reset();
  detail::releaseSpareBlock();
}

void Detector::cancel() noexcept { _cancelled.store(true); }

Status detectEdges(ConstImageView input, ImageView output, const Settings &settings) {
  if (!validViews(input, output)) return Status::invalidArgument;
  if (input.width == 0 || input.height == 0) return Status::ok;
  detail::RowGrid grid;
  std::atomic<bool> cancel{false};
  const Status status = detail::detectByRows(grid, input, output, settings, cancel);
  // Lazily: the next call, in a moment, finds the pages without faulting
  // them in and clearing them again.
  grid.release(true);
  return status;
}

Status prepareMemory(std::int32_t width, std::int32_t height, const std::atomic<bool> *stop) {
  if (width < 0 || height < 0) return Status::invalidArgument;
  if (width == 0 || height == 0) return Status::ok;
  // Laid out as detectEdges lays it out, so that its block fits the call's.
  detail::RowGrid grid;
  if (!grid.shape(width, height)) return Status::outOfMemory;
  // The cells, by far the largest block; the rest is small or touched only in part.
  const float *end = grid.rows[grid.height + 1] + grid.stride;
  const auto cellBytes = static_cast<std::size_t>(end - grid.cells) * sizeof(float);
  const bool touched = detail::touchPages(grid.cells, cellBytes, stop);
  grid.release(true);
  return touched ? Status::ok : Status::cancelled;
}

Version version() {
  return {CANNY_ENGINE_VERSION_MAJOR, CANNY_ENGINE_VERSION_MINOR, CANNY_ENGINE_VERSION_PATCH};
}

}  // namespace canny
