#pragma once
// An 8-bit gray drawing surface over the detector's buffer: width * height
// bytes of fresh picture memory (imaging/PictureMemory), exactly width bytes a row, and a gray
// QImage over them to draw into. The context frees the bytes when it goes, unless it
// handed them over first.
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

class GrayBitmapContext {
 public:
  // The two reasons no surface can be had, worded as the screens print them.
  static constexpr const char *kMemoryNotAllocated = "Memory not allocated!";
  static constexpr const char *kContextNotCreated = "Context not created!";

  // A surface of `width` x `height` pixels, or nullptr when none can be made;
  // then `failure`, if given, holds one of the two reasons above.
  static std::unique_ptr<GrayBitmapContext> create(int width, int height,
                                                   QString *failure = nullptr);

  ~GrayBitmapContext();
  GrayBitmapContext(const GrayBitmapContext &) = delete;
  GrayBitmapContext &operator=(const GrayBitmapContext &) = delete;

  QImage &bitmap() { return _bitmap; }
  std::uint8_t *data() const { return _data; }
  int width() const { return _bitmap.width(); }
  int height() const { return _bitmap.height(); }

  // The bytes as a gray picture that frees them when its last copy goes,
  // rather than copied out; the context is left empty (null data and bitmap).
  QImage takeBitmap();

 private:
  GrayBitmapContext(std::uint8_t *data, QImage bitmap);

  std::uint8_t *_data;
  QImage _bitmap;
};
