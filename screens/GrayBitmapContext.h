#pragma once
// The bridge's 8-bit gray drawing surface: width * height bytes from malloc,
// exactly width bytes a row, and a gray QImage over them to draw into. The
// bytes are the detector's buffer; the context frees them when it goes.
#include <QImage>
#include <cstdint>
#include <memory>

class GrayBitmapContext {
 public:
  // A surface of `width` x `height` pixels, or nullptr when none can be made.
  // With `reportFailures`, a failure writes its one fixed message to
  // standard error: "Memory not allocated!" or "Context not created!".
  static std::unique_ptr<GrayBitmapContext> create(int width, int height, bool reportFailures);

  ~GrayBitmapContext();
  GrayBitmapContext(const GrayBitmapContext &) = delete;
  GrayBitmapContext &operator=(const GrayBitmapContext &) = delete;

  QImage &bitmap() { return _bitmap; }
  std::uint8_t *data() const { return _data; }
  int width() const { return _bitmap.width(); }
  int height() const { return _bitmap.height(); }

 private:
  GrayBitmapContext(std::uint8_t *data, QImage bitmap);

  std::uint8_t *_data;
  QImage _bitmap;
};
