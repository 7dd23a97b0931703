#pragma once
// Reads a fuzzer's bytes as a sequence of fields; past the end every field
// reads as zero, so any input, even an empty one, is a valid case.
#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  // The bytes not read yet, and one of them by its index among those.
  std::size_t remaining() const { return size_ - at_; }
  std::uint8_t peek(std::size_t i) const { return data_[at_ + i]; }

  // A whole number in [lo, hi], from one byte.
  int inRange(int lo, int hi) { return lo + byte() % (hi - lo + 1); }

  // A flag byte, then either (odd flag) any float at all from four raw bytes,
  // or one byte b giving b * step: values on a coarse grid, so that they
  // often equal the values they are compared with.
  float gridOrAnyFloat(float step) { return byte() & 1 ? anyFloat() : byte() * step; }

  // Any float at all, NaNs and infinities included, from four raw bytes.
  float anyFloat() {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 8 | byte();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  const std::uint8_t *data_;
  std::size_t size_, at_ = 0;
};
