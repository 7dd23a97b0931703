// The page's colour-to-gray conversion gives, for every one of the 2^24 colours, the gray byte the
// canny tool and the application draw (drawGray), so a browser-decoded picture meets the detector
// as the tool's would.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "imaging/GrayBitmap.h"
#include "web/engine/grayFromRgba.h"

TEST(PageGray, EveryColourAsTheToolDrawsIt) {
  constexpr int kSide = 4096;  // 4096 x 4096 pixels: one of each colour
  QImage colours(kSide, kSide, QImage::Format_RGB32);
  std::vector<std::uint8_t> rgba(std::size_t{kSide} * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    auto *row = reinterpret_cast<QRgb *>(colours.scanLine(y));
    for (int x = 0; x < kSide; ++x) {
      const std::uint32_t c = std::uint32_t(y) * kSide + x;
      row[x] = qRgb(c >> 16, c >> 8 & 255, c & 255);
      std::uint8_t *p = &rgba[std::size_t{c} * 4];
      p[0] = c >> 16, p[1] = c >> 8 & 255, p[2] = c & 255, p[3] = 255;
    }
  }
  std::vector<std::uint8_t> expected(std::size_t{kSide} * kSide), gray(expected.size());
  QImage bitmap = grayBitmapOver(expected.data(), kSide, kSide);
  drawGray(colours, bitmap);
  grayFromRgba(rgba.data(), gray.size(), gray.data());
  int differing = 0;
  for (std::size_t c = 0; c < gray.size(); ++c)
    if (gray[c] != expected[c] && ++differing <= 5)
      ADD_FAILURE() << "colour " << std::hex << c << ": " << std::dec << int(gray[c])
                    << " instead of " << int(expected[c]);
  EXPECT_EQ(differing, 0);
}
