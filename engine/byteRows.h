#pragma once
// The caller's pictures as the fast pipeline sees them: row y (from 0) at
// data + y * stride, the stride possibly negative or larger than the width.
#include <cstddef>
#include <cstdint>

namespace canny::detail {

template <typename Byte>
struct Rows {
  Byte *data;
  std::ptrdiff_t stride;
  Byte *row(std::ptrdiff_t y) const { return data + y * stride; }
};
using ByteRows = Rows<const std::uint8_t>;
using EdgeRows = Rows<std::uint8_t>;

}  // namespace canny::detail
