#pragma once
#include <canny/canny.h>

namespace canny::detail {

// Sizes not negative, data there whenever a byte is, rows at least a width
// apart.
bool isValid(const std::uint8_t *data, std::int32_t width, std::int32_t height,
             std::ptrdiff_t stride);

}  // namespace canny::detail
