#include "imaging/EdgePng.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <new>

namespace {

// No exception may cross libpng's C frames: running out of memory ends the encoding as libpng's
// own errors do.
void append(png_structp png, png_bytep data, png_size_t length) {
  bool appended = true;
  try {
    static_cast<QByteArray *>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char *>(data), qsizetype(length));
  } catch (const std::bad_alloc &) {
    appended = false;
  }
  if (!appended) png_error(png, "out of memory");
}

void flush(png_structp) {}

// libpng's errors end the encoding (by its long jump); its warnings say nothing
// that would change the file.
void failed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignored(png_structp, png_const_charp) {}

// Apart from the setjmp, so that nothing here lives across the long jump.
bool writeRows(png_structp png, png_infop info, const unsigned char *pixels, int width, int height,
               qsizetype stride, QByteArray *file) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, file, append, flush);
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);  // what PNG allows, not libpng's default
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_level(png, 1);
  png_set_compression_buffer_size(png, 1 << 17);  // fewer, larger IDAT chunks
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, pixels + qsizetype(y) * stride);
  png_write_end(png, info);
  return true;
}

}  // namespace

QByteArray encodeEdgePng(const unsigned char *pixels, int width, int height, qsizetype stride) {
  if (width <= 0 || height <= 0) return {};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failed, ignored);
  if (!png) return {};
  png_infop info = png_create_info_struct(png);
  QByteArray file;
  const bool written = info && writeRows(png, info, pixels, width, height, stride, &file);
  png_destroy_write_struct(&png, &info);
  return written ? file : QByteArray();
}
