#pragma once
// Moving a block of lines between their own layout and the interleaved one
// the sweeps work on. Full 8 x 8 tiles are copied by a fixed-size loop that
// the compiler turns into vector loads and shuffles.
#include <cstddef>

#include "engine/vectorClones.h"

// out[r * outStride + c] = in[c * inStride + r] for r < rows, c < cols.
template <typename In>
ENGINE_INLINE void transpose(const In *in, std::ptrdiff_t inStride, float *out,
                             std::ptrdiff_t outStride, std::ptrdiff_t rows, std::ptrdiff_t cols) {
  constexpr std::ptrdiff_t kTile = 8;
  for (std::ptrdiff_t c0 = 0; c0 < cols; c0 += kTile) {
    for (std::ptrdiff_t r0 = 0; r0 < rows; r0 += kTile) {
      const In *from = in + c0 * inStride + r0;
      float *to = out + r0 * outStride + c0;
      if (r0 + kTile <= rows && c0 + kTile <= cols) {
        for (std::ptrdiff_t r = 0; r < kTile; ++r)
          for (std::ptrdiff_t c = 0; c < kTile; ++c)
            to[r * outStride + c] = static_cast<float>(from[c * inStride + r]);
      } else {
        for (std::ptrdiff_t r = 0; r < kTile && r0 + r < rows; ++r)
          for (std::ptrdiff_t c = 0; c < kTile && c0 + c < cols; ++c)
            to[r * outStride + c] = static_cast<float>(from[c * inStride + r]);
      }
    }
  }
}
