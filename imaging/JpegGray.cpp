#include "imaging/JpegGray.h"

#include <QImage>
#include <algorithm>
#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which needs FILE
#include <vector>

#include <jpeglib.h>

#include "imaging/GrayConversion.h"

namespace {

// Rows decoded at a time: a few hundred kilobytes at most, which stay in the cache.
constexpr int kStripRows = 16;

struct Errors : jpeg_error_mgr {
  std::jmp_buf exit;
};

extern "C" void leave(j_common_ptr info) {
  std::longjmp(static_cast<Errors *>(info->err)->exit, 1);
}

// Warnings are counted (num_warnings) and never printed: any sends the picture the usual way,
// whose decoder says them as it always has.
extern "C" void keepQuiet(j_common_ptr) {}

// Settings as Qt's plugin leaves them at its default quality: the accurate integer transform and
// fancy upsampling, libjpeg's defaults. Colour comes as RGB32 lays out its pixels, so that the
// rows are converted as an RGB32 picture's are. No C++ object lives in this frame, which a jump
// out of libjpeg would skip.
bool decode(jpeg_decompress_struct &info, Errors &errors, const QByteArray &bytes, QSize size,
            uchar *gray, qsizetype stride, quint32 *strip) {
  info.err = jpeg_std_error(&errors);
  errors.error_exit = leave;
  errors.output_message = keepQuiet;
  if (setjmp(errors.exit)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // libjpeg tells these from the number of components (3 and 1) and the markers.
  const bool colour = info.jpeg_color_space == JCS_YCbCr;
  if (!colour && info.jpeg_color_space != JCS_GRAYSCALE) return false;
  if (colour) info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  // Never more rows or columns than `gray` holds, whatever the header walk found.
  const int width = size.width();
  if (int(info.output_width) != width || int(info.output_height) != size.height()) return false;
  JSAMPROW rows[kStripRows];
  while (info.output_scanline < info.output_height) {
    const JDIMENSION first = info.output_scanline;
    const JDIMENSION room = std::min<JDIMENSION>(kStripRows, info.output_height - first);
    // Gray rows go straight to their place.
    for (JDIMENSION i = 0; i < room; ++i)
      rows[i] = colour ? reinterpret_cast<JSAMPROW>(strip + qsizetype(i) * width)
                       : gray + qsizetype(first + i) * stride;
    const JDIMENSION got = jpeg_read_scanlines(&info, rows, room);
    if (got == 0) return false;  // cannot happen with all the data in memory: refuse, not loop
    if (colour)
      for (JDIMENSION i = 0; i < got; ++i)
        convertRgb32Row(strip + qsizetype(i) * width, gray + qsizetype(first + i) * stride, width);
  }
  jpeg_finish_decompress(&info);
  return errors.num_warnings == 0;
}

}  // namespace

bool decodeJpegGray(const QByteArray &bytes, QSize size, uchar *gray, qsizetype stride) {
  // Qt paints a picture of one pixel otherwise; Qt's own tables must agree with ours.
  if (size.isEmpty() || size.width() * qint64(size.height()) == 1 ||
      !convertsDirectly(QImage::Format_RGB32) || bytes.isEmpty())
    return false;
  std::vector<quint32> strip(std::size_t(size.width()) * kStripRows);
  jpeg_decompress_struct info{};
  Errors errors;
  const bool decoded = decode(info, errors, bytes, size, gray, stride, strip.data());
  jpeg_destroy_decompress(&info);
  return decoded;
}
