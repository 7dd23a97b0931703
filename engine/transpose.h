#pragma once
// Moving a block of lines between their own layout and the interleaved one
// the sweeps work on. Full 8 x 8 tiles go through vector registers: eight
// loads, three rounds of shuffles and eight stores.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/vectorClones.h"

namespace canny::detail {

namespace transposing {

typedef float Floats8 __attribute__((vector_size(32)));

// (Vectors pass by reference: by value their ABI would differ between the
// instruction sets the clones target.)
ENGINE_INLINE void load8(Floats8 &v, const float *from) { std::memcpy(&v, from, sizeof v); }

// Sixteen bytes widened to floats: each byte is moved into the low byte of
// a zeroed 32-bit lane by a byte shuffle, then converted. (Converting the
// bytes directly, or by a loop, compiles into one insert per byte.)
ENGINE_INLINE void widen16(const std::uint8_t *from, float *to) {
  typedef std::uint8_t Bytes16 __attribute__((vector_size(16)));
  typedef std::int32_t Ints4 __attribute__((vector_size(16)));
  typedef float Floats4 __attribute__((vector_size(16)));
  Bytes16 bytes;
  std::memcpy(&bytes, from, sizeof bytes);
  const Bytes16 zero = {};
  const Bytes16 lanes[4] = {
      __builtin_shufflevector(bytes, zero, 0, 16, 16, 16, 1, 16, 16, 16, 2, 16, 16, 16, 3, 16, 16,
                              16),
      __builtin_shufflevector(bytes, zero, 4, 16, 16, 16, 5, 16, 16, 16, 6, 16, 16, 16, 7, 16, 16,
                              16),
      __builtin_shufflevector(bytes, zero, 8, 16, 16, 16, 9, 16, 16, 16, 10, 16, 16, 16, 11, 16, 16,
                              16),
      __builtin_shufflevector(bytes, zero, 12, 16, 16, 16, 13, 16, 16, 16, 14, 16, 16, 16, 15, 16,
                              16, 16),
  };
  for (int q = 0; q < 4; ++q) {
    Ints4 ints;
    std::memcpy(&ints, &lanes[q], sizeof ints);
    const Floats4 floats = __builtin_convertvector(ints, Floats4);
    std::memcpy(to + 4 * q, &floats, sizeof floats);
  }
}

// Row r of the 8 x 8 tile in v[r] becomes column r.
ENGINE_INLINE void transpose8(Floats8 v[8]) {
  Floats8 t[8], u[8];
#pragma GCC unroll 8
  for (int i = 0; i < 8; i += 2) {
    t[i] = __builtin_shufflevector(v[i], v[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
    t[i + 1] = __builtin_shufflevector(v[i], v[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
  }
#pragma GCC unroll 8
  for (int i = 0; i < 8; i += 4) {
#pragma GCC unroll 8
    for (int j = 0; j < 2; ++j) {
      u[i + 2 * j] = __builtin_shufflevector(t[i + j], t[i + j + 2], 0, 1, 8, 9, 4, 5, 12, 13);
      u[i + 2 * j + 1] =
          __builtin_shufflevector(t[i + j], t[i + j + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    }
  }
#pragma GCC unroll 8
  for (int i = 0; i < 4; ++i) {
    v[i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    v[i + 4] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

}  // namespace transposing

// out[r * outStride + c] = in[c * inStride + r] for r < rows, c < cols.
ENGINE_INLINE void transpose(const float *in, std::ptrdiff_t inStride, float *out,
                             std::ptrdiff_t outStride, std::ptrdiff_t rows, std::ptrdiff_t cols) {
  using namespace transposing;
  constexpr std::ptrdiff_t kTile = 8;
  for (std::ptrdiff_t c0 = 0; c0 < cols; c0 += kTile) {
    for (std::ptrdiff_t r0 = 0; r0 < rows; r0 += kTile) {
      const float *from = in + c0 * inStride + r0;
      float *to = out + r0 * outStride + c0;
      if (r0 + kTile <= rows && c0 + kTile <= cols) {
        Floats8 v[8];
        // Unrolled, so that the tile stays in registers.
#pragma GCC unroll 8
        for (std::ptrdiff_t c = 0; c < kTile; ++c) load8(v[c], from + c * inStride);
        transpose8(v);
#pragma GCC unroll 8
        for (std::ptrdiff_t r = 0; r < kTile; ++r) std::memcpy(to + r * outStride, &v[r], 32);
      } else {
        for (std::ptrdiff_t r = 0; r < kTile && r0 + r < rows; ++r)
          for (std::ptrdiff_t c = 0; c < kTile && c0 + c < cols; ++c)
            to[r * outStride + c] = from[c * inStride + r];
      }
    }
  }
}

}  // namespace canny::detail
