#include "imaging/FileNames.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>

#include "imaging/ImagingText.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF carry the bytes 0x80..0xFF

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype at, char32_t *codePoint) {
  const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned lead = byte(0);
  qsizetype length = 0;
  char32_t least = 0;
  if (lead < 0x80) return *codePoint = lead, 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, least = 0x80;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3, least = 0x800;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4, least = 0x10000;
  if (length == 0 || at + length > bytes.size()) return 0;
  char32_t value = lead & (0x7F >> length);
  for (qsizetype i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte(i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return length;
}

}  // namespace

QString fileNameFromBytes(QByteArrayView bytes) {
  QString name;
  name.reserve(bytes.size());
  for (qsizetype at = 0; at < bytes.size();) {
    char32_t codePoint = 0;
    if (const qsizetype length = sequenceLength(bytes, at, &codePoint)) {
      name += QStringView(QChar::fromUcs4(codePoint));
      at += length;
    } else {
      name += QChar(kEscapeBase + static_cast<unsigned char>(bytes[at++]));
    }
  }
  return name;
}

int escapedByte(QStringView name, qsizetype at) {
  const char16_t c = name[at].unicode();
  // A low surrogate after a high one is half of a character, not a byte.
  const bool paired = at > 0 && name[at - 1].isHighSurrogate();
  return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && !paired ? c - kEscapeBase : -1;
}

QByteArray fileNameBytes(QStringView name) {
  QByteArray bytes;
  qsizetype runStart = 0;  // the characters since the last escaped byte
  for (qsizetype at = 0; at < name.size(); ++at) {
    const int byte = escapedByte(name, at);
    if (byte < 0) continue;
    bytes += name.sliced(runStart, at - runStart).toUtf8();
    bytes += char(byte);
    runStart = at + 1;
  }
  return bytes + name.sliced(runStart).toUtf8();
}

QString openForReading(QFile &file, const QString &name) {
  const int descriptor = ::open(fileNameBytes(name).constData(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0)
    return ImagingText::tr("cannot open: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
  struct stat status;
  if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(descriptor);
    return ImagingText::tr("is a folder");
  }
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return ImagingText::tr("cannot open: %1").arg(file.errorString());
  }
  return {};
}
