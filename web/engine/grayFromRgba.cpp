#include "web/engine/grayFromRgba.h"

#include "imaging/SrgbGray.h"

void grayFromRgba(const std::uint8_t *rgba, std::size_t count, std::uint8_t *gray) {
  const SrgbGrayTables &tables = srgbGrayTables();
  for (std::size_t i = 0; i < count; ++i, rgba += 4)
    gray[i] = srgbGray(tables, rgba[0], rgba[1], rgba[2]);
}
