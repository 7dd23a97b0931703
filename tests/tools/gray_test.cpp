// The gray conversion computed from the picture's rows against the painter's drawing, which
// it replaces: every format, odd sizes, random pixels, and a picture large enough for threads;
// JPEGs decoded straight to gray against Qt's decoding drawn gray.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QRandomGenerator>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "imaging/GrayBitmap.h"
#include "imaging/GrayConversion.h"
#include "imaging/JpegGray.h"
#include "imaging/PictureReader.h"
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

// The forms JPEG writers choose: sampling of the colour channels, gray, progressive scans,
// restart markers.
struct JpegForm {
  int components = 3;
  int horizontal = 2, vertical = 2;  // the brightness channel's sampling; 1, 1 is 4:4:4
  bool progressive = false;
  int restartRows = 0;
};

QByteArray jpegOf(const QImage &picture, const JpegForm &form) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char *data = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &data, &size);
  info.image_width = JDIMENSION(picture.width());
  info.image_height = JDIMENSION(picture.height());
  info.input_components = form.components;
  info.in_color_space = form.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (form.components == 3) {
    info.comp_info[0].h_samp_factor = form.horizontal;
    info.comp_info[0].v_samp_factor = form.vertical;
  }
  if (form.progressive) jpeg_simple_progression(&info);
  info.restart_in_rows = form.restartRows;
  jpeg_start_compress(&info, TRUE);
  const QImage rows = picture.convertToFormat(form.components == 3 ? QImage::Format_RGB888
                                                                   : QImage::Format_Grayscale8);
  while (info.next_scanline < info.image_height) {
    auto *row = const_cast<JSAMPROW>(rows.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  std::free(data);
  return bytes;
}

PictureReading readJpeg(QByteArray jpeg, bool grayOnly) {
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::ReadOnly);
  return readPicture(buffer, {kDefaultMaxPixels, false, nullptr, grayOnly});
}

TEST(GrayConversion, JpegsStraightToGrayAsDecodedAndDrawn) {
  QRandomGenerator random(3);
  QList<QByteArray> files;
  for (const QSize size : {QSize(1, 1), QSize(17, 9), QSize(2, 1), QSize(333, 47)}) {
    // Smooth colours with noise: sharp and gentle changes for the upsampling to meet.
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x)
        picture.setPixel(x, y, qRgb(x * 3 + random.bounded(40), y * 5 % 256, random.bounded(256)));
    for (const JpegForm form :
         {JpegForm{}, JpegForm{3, 1, 1}, JpegForm{3, 2, 1}, JpegForm{3, 1, 2}, JpegForm{1},
          JpegForm{3, 2, 2, true}, JpegForm{1, 1, 1, true}, JpegForm{3, 2, 2, false, 1}})
      files << jpegOf(picture, form);
    picture.setColorSpace(QColorSpace::DisplayP3);  // Qt writes the profile, which it reads back
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&written, "jpeg"));
    files << written.data();
  }
  for (qsizetype i = 0; i < files.size(); ++i) {
    const PictureReading usual = readJpeg(files[i], false), gray = readJpeg(files[i], true);
    const QImage &picture = usual.picture;
    ASSERT_FALSE(picture.isNull()) << i;
    EXPECT_EQ(converted(gray.picture), converted(picture)) << "file " << i;
    if (picture.width() * picture.height() > 1) {  // one pixel is drawn the usual way
      EXPECT_EQ(gray.picture.format(), QImage::Format_Grayscale8) << "file " << i;
    }
  }
  // Data that libjpeg only warns about goes the usual way, which reports it; so does data it
  // refuses (a precision of 12 bits), and a size other than the frame's is never written.
  QByteArray damaged = files.last();
  damaged.replace(damaged.size() - 200, 2, "\xff\xd3");
  EXPECT_EQ(readJpeg(damaged, true).picture.format(), QImage::Format_RGB32);
  damaged[damaged.indexOf("\xff\xc0") + 4] = 12;
  EXPECT_TRUE(readJpeg(damaged, true).picture.isNull());
  std::vector<uchar> gray(333 * 48);
  EXPECT_FALSE(decodeJpegGray(files.last(), QSize(333, 46), gray.data(), 333));
}

}  // namespace
