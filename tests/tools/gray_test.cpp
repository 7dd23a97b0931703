// The gray conversion computed from the picture's rows against the painter's drawing, which
// it replaces: every format, odd sizes, random pixels, and a picture large enough for threads.
#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>
#include <vector>

#include "imaging/GrayBitmap.h"
#include "imaging/GrayConversion.h"
#include "imaging/SrgbGray.h"

namespace {

// Random colours and alphas (some at the alpha's ends, where rounding differs), as `format`
// holds them.
QImage randomPicture(int width, int height, QImage::Format format, QRandomGenerator &random) {
  QImage picture(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    auto *row = reinterpret_cast<quint32 *>(picture.scanLine(y));
    random.fillRange(row, width);
    for (int x = 0; x < width; x += 3) row[x] |= x % 2 ? 0xff000000 : 0;
    for (int x = 1; x < width; x += 3) row[x] &= x % 2 ? 0x00ffffff : ~0u;
  }
  return picture.convertToFormat(format);
}

std::vector<uchar> drawn(const QImage &picture) {
  std::vector<uchar> gray(std::size_t(picture.width()) * std::size_t(picture.height()));
  QImage bitmap = grayBitmapOver(gray.data(), picture.width(), picture.height());
  paintGray(picture, bitmap);
  return gray;
}

std::vector<uchar> converted(const QImage &picture) {
  std::vector<uchar> gray(std::size_t(picture.width()) * std::size_t(picture.height()), 77);
  convertToGray(picture, gray.data());
  return gray;
}

TEST(GrayConversion, EveryFormatAsDrawn) {
  QRandomGenerator random(16);
  for (int f = QImage::Format_Mono; f < QImage::NImageFormats; ++f) {
    const auto format = QImage::Format(f);
    for (const QSize size : {QSize(1, 1), QSize(3, 7), QSize(333, 5)}) {
      const QImage picture = randomPicture(size.width(), size.height(), format, random);
      ASSERT_EQ(converted(picture), drawn(picture))
          << "format " << f << ", " << size.width() << " x " << size.height();
    }
  }
  for (const QImage::Format format :
       {QImage::Format_Grayscale8, QImage::Format_RGB32, QImage::Format_ARGB32,
        QImage::Format_ARGB32_Premultiplied, QImage::Format_Indexed8})
    EXPECT_TRUE(convertsDirectly(format)) << format;
}

// Two million colours, in strips over threads (where the process may use two CPUs or more).
TEST(GrayConversion, LargePictureAsDrawn) {
  QRandomGenerator random(7);
  const QImage picture = randomPicture(1501, 1403, QImage::Format_RGB32, random);
  EXPECT_EQ(converted(picture), drawn(picture));
}

// Every one of the 2^24 colours, as the web page converts what the browser decoded.
TEST(GrayConversion, EveryColourAsPainted) {
  constexpr int kSide = 4096;
  QImage colours(kSide, kSide, QImage::Format_RGB32);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) colours.setPixel(x, y, 0xff000000u | uint(y * kSide + x));
  const std::vector<uchar> expected = drawn(colours);
  const SrgbGrayTables &tables = srgbGrayTables();
  int differing = 0;
  for (int c = 0; c < kSide * kSide; ++c)
    differing += srgbGray(tables, c >> 16, c >> 8 & 255, c & 255) != expected[std::size_t(c)];
  EXPECT_EQ(differing, 0);
}

}  // namespace
