#include "imaging/GrayConversion.h"

#include <canny/canny.h>

#include <QRgb>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "imaging/GrayBitmap.h"
#include "imaging/SrgbGray.h"

namespace {

using Tables = SrgbGrayTables;

inline uchar grayOf(const Tables &t, QRgb opaque) {
  return srgbGray(t, qRed(opaque), qGreen(opaque), qBlue(opaque));
}

// The loop the compiler turns into vector gathers where the processor has them.
__attribute__((target_clones("avx2", "default"))) void opaqueRow(const Tables &t,
                                                                 const QRgb *__restrict pixels,
                                                                 uchar *__restrict out, int width) {
  for (int x = 0; x < width; ++x) out[x] = grayOf(t, pixels[x]);
}

// Colour drawn onto the black gray surface: premultiplied, over black.
inline uchar grayOfUnpremultiplied(const Tables &t, QRgb pixel) {
  return grayOf(t, qPremultiply(pixel));
}

void convertRows(const Tables &t, const QImage &picture, uchar *gray, int from, int to) {
  const int width = picture.width();
  const QImage::Format format = picture.format();
  std::array<uchar, 256> indexed{};
  if (format == QImage::Format_Indexed8) {
    const QList<QRgb> table = picture.colorTable();
    for (qsizetype i = 0; i < table.size() && i < 256; ++i)
      indexed[std::size_t(i)] = grayOfUnpremultiplied(t, table[i]);
  }
  for (int y = from; y < to; ++y) {
    const uchar *row = picture.constScanLine(y);
    uchar *out = gray + qsizetype(y) * width;
    const auto *pixels = reinterpret_cast<const QRgb *>(row);
    switch (format) {
      case QImage::Format_Grayscale8:
        std::memcpy(out, row, std::size_t(width));
        break;
      case QImage::Format_RGB32:
      case QImage::Format_ARGB32_Premultiplied:
        opaqueRow(t, pixels, out, width);
        break;
      case QImage::Format_ARGB32:
        for (int x = 0; x < width; ++x) out[x] = grayOfUnpremultiplied(t, pixels[x]);
        break;
      case QImage::Format_Indexed8:
        for (int x = 0; x < width; ++x) out[x] = indexed[row[x]];
        break;
      default:
        break;
    }
  }
}

// The weights and tables against Qt itself, once: colours along every channel
// and the cube's inside. Should a Qt compute otherwise, everything is drawn.
bool agreesWithQt(const Tables &t) {
  QImage colours(256, 64, QImage::Format_RGB32);
  for (int y = 0; y < colours.height(); ++y)
    for (int x = 0; x < colours.width(); ++x)
      colours.setPixel(x, y, qRgb(x, (x * 7 + y * 13) & 255, (y * 4 + x * 3) & 255));
  std::vector<uchar> drawn(std::size_t(colours.width() * colours.height()));
  QImage bitmap = grayBitmapOver(drawn.data(), colours.width(), colours.height());
  paintGray(colours, bitmap);
  for (int y = 0; y < colours.height(); ++y)
    for (int x = 0; x < colours.width(); ++x)
      if (grayOf(t, colours.pixel(x, y)) != drawn[std::size_t(y * colours.width() + x)])
        return false;
  return true;
}

const Tables *tables() {
  static const bool agrees = agreesWithQt(srgbGrayTables());
  return agrees ? &srgbGrayTables() : nullptr;
}

}  // namespace

void convertRgb32Row(const QRgb *pixels, uchar *out, int width) {
  opaqueRow(srgbGrayTables(), pixels, out, width);
}

bool convertsDirectly(QImage::Format format) {
  switch (format) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_Indexed8:
      return format == QImage::Format_Grayscale8 || tables() != nullptr;
    default:
      return false;
  }
}

void convertToGray(const QImage &picture, uchar *gray) {
  const int width = picture.width(), height = picture.height();
  if (width <= 0 || height <= 0) return;
  // Qt paints a picture of one pixel as a solid colour, whose gray it computes otherwise.
  if (!convertsDirectly(picture.format()) || (width == 1 && height == 1)) {
    QImage bitmap = grayBitmapOver(gray, width, height);
    paintGray(picture, bitmap);
    return;
  }
  // Reached by colour only where the tables agree with Qt; gray pictures do not read them.
  const Tables &use = srgbGrayTables();
  // Below about a million pixels a thread costs more than it saves.
  constexpr qint64 kPixelsPerThread = 1 << 20;
  const qint64 pixels = qint64(width) * height;
  // As many as the detector would use: the CPUs this process may run on, or a batch worker's share.
  const int threads = int(std::clamp<qint64>(pixels / kPixelsPerThread, 1, canny::threadCount()));
  std::vector<std::thread> others;
  const auto strip = [&](int i) { return int(qint64(height) * i / threads); };
  try {
    for (int i = 1; i < threads; ++i)
      others.emplace_back(convertRows, std::cref(use), std::cref(picture), gray, strip(i),
                          strip(i + 1));
  } catch (const std::system_error &) {  // no thread to be had: this one does the rest
    convertRows(use, picture, gray, strip(int(others.size()) + 1), height);
  }
  convertRows(use, picture, gray, 0, strip(1));
  for (std::thread &other : others) other.join();
}
