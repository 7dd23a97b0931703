#include "imaging/DecoderMessages.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "imaging/PictureReader.h"

namespace {

thread_local QByteArray *keptHere = nullptr;  // the thread's DecoderMessages, while it keeps
TIFFErrorHandler libraryError = nullptr;
TIFFErrorHandler libraryWarning = nullptr;

// As libtiff's own handlers print it: "module: message." for errors,
// "module: Warning, message." for warnings.
void keep(const char *module, const char *kind, const char *format, va_list arguments) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, arguments);
  if (module) keptHere->append(module).append(": ");
  keptHere->append(kind).append(text).append(".\n");
}

void tiffError(const char *module, const char *format, va_list arguments) {
  if (keptHere)
    keep(module, "", format, arguments);
  else if (libraryError)
    libraryError(module, format, arguments);
}

void tiffWarning(const char *module, const char *format, va_list arguments) {
  if (keptHere)
    keep(module, "Warning, ", format, arguments);
  else if (libraryWarning)
    libraryWarning(module, format, arguments);
}

}  // namespace

DecoderMessages::DecoderMessages(const QByteArray &first) {
  const QByteArray format = pictureFormatByContent(first);
  if (format.isEmpty() || format == "png") {
    _standardError.emplace();
    return;
  }
  static std::once_flag installed;
  std::call_once(installed, [] {
    libraryError = TIFFSetErrorHandler(tiffError);
    libraryWarning = TIFFSetWarningHandler(tiffWarning);
  });
  keptHere = &_kept;
  _keeping = true;
}

DecoderMessages::~DecoderMessages() { finish(); }

QByteArray DecoderMessages::finish() {
  if (_standardError) {
    QByteArray printed = _standardError->finish();
    _standardError.reset();
    return printed;
  }
  if (_keeping) keptHere = nullptr;
  _keeping = false;
  return _kept;
}
