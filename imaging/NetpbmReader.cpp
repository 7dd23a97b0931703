#include "imaging/NetpbmReader.h"

#include <QRgba64>
#include <cstring>
#include <limits>
#include <vector>

#include "imaging/ImagingText.h"

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr int kMostMaxval = 65535;

// The text after the magic number: numbers or bits, blanks, and comments from
// '#' to the end of the line, each of which counts as one blank. Read a byte
// at a time, so that the device stands right after the last byte taken.
class Text {
 public:
  Text(QIODevice &device, qint64 mostBytes) : _device(device), _left(mostBytes) {}

  // The next byte, a comment given as the line end that closes it; false at
  // the end of the data or of the byte allowance.
  bool get(char *c) {
    if (!byte(c)) return false;
    if (*c != '#') return true;
    while (byte(c))
      if (*c == '\n' || *c == '\r') return true;
    return false;
  }

  // The next byte that is not blank.
  bool visible(char *c) {
    do {
      if (!get(c)) return false;
    } while (isSpace(*c));
    return true;
  }

  enum Outcome { kNumber, kEnd, kJunk };

  // The next number: digits ended by a blank, a comment or the end of the
  // data, which takes the blank. A value above `most` comes back as most + 1;
  // `junk` is the byte at fault.
  Outcome number(qint64 most, qint64 *value, char *junk) {
    char c = 0;
    if (!visible(&c)) return kEnd;
    *junk = c;
    if (!isDigit(c)) return kJunk;
    qint64 sum = 0;
    bool more = true;
    for (; more && isDigit(c); more = get(&c)) sum = qMin(sum * 10 + (c - '0'), most + 1);
    *value = sum;
    *junk = c;
    return !more || isSpace(c) ? kNumber : kJunk;
  }

  bool exhausted() const { return _left < 0; }

 private:
  bool byte(char *c) { return _left-- > 0 && _device.getChar(c); }

  QIODevice &_device;
  qint64 _left;
};

bool isBitmap(char type) { return type == '1' || type == '4'; }
bool isPlain(char type) { return type <= '3'; }
int channels(char type) { return type == '3' || type == '6' ? 3 : 1; }

enum class Fault { kNone, kShort, kJunk, kNotBit, kAboveMaxval };

struct RowOutcome {
  Fault fault = Fault::kNone;
  int sample = 0;  // in the row, counted from 0
  char byte = 0;
};

QString shown(char c) {
  return c > ' ' && c < 127 ? QStringLiteral("'%1'").arg(QChar(c))
                            : ImagingText::tr("byte 0x%1").arg(uchar(c), 2, 16, QChar('0'));
}

QString message(const RowOutcome &outcome, int row, const NetpbmHeader &header, bool textSpent) {
  const int column = outcome.sample / channels(header.type) + 1;
  const QString where = ImagingText::tr("row %1, column %2").arg(row + 1).arg(column);
  // Arguments in one pass: the byte shown may be a '%'.
  switch (outcome.fault) {
    case Fault::kShort:
      return textSpent ? ImagingText::tr(
                             "the picture's data is damaged at %1: more blanks and "
                             "comments than its samples can need")
                             .arg(where)
                       : ImagingText::tr("the picture's data is short, truncated at %1").arg(where);
    case Fault::kJunk:
      return ImagingText::tr("the picture's data is damaged at %1: %2 where a number should be")
          .arg(where, shown(outcome.byte));
    case Fault::kNotBit:
      return ImagingText::tr(
                 "the picture's data is damaged at %1: %2 where a bit, 0 or 1, should be")
          .arg(where, shown(outcome.byte));
    default:
      return ImagingText::tr("a sample above the maxval %1 at %2").arg(header.maxval).arg(where);
  }
}

// The formats Qt's own reader gives, so that both draw to the same gray.
QImage::Format formatOf(char type) {
  if (isBitmap(type)) return QImage::Format_Mono;
  return channels(type) == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

qint64 rawRowBytes(const NetpbmHeader &header) {
  const qint64 width = header.size.width();
  if (isBitmap(header.type)) return (width + 7) / 8;
  return width * channels(header.type) * (header.maxval > 255 ? 2 : 1);
}

RowOutcome plainBits(Text &text, int width, uchar *line) {
  for (int x = 0; x < width; ++x) {
    char c = 0;
    if (!text.visible(&c)) return {Fault::kShort, x};
    if (c != '0' && c != '1') return {Fault::kNotBit, x, c};
    if (c == '1') line[x / 8] |= uchar(0x80 >> x % 8);
  }
  return {};
}

// Padding bits past the last pixel cleared, as they are for plain bitmaps.
RowOutcome rawBits(QIODevice &device, int width, qint64 rowBytes, uchar *line) {
  const qint64 got = device.read(reinterpret_cast<char *>(line), rowBytes);
  if (got != rowBytes) return {Fault::kShort, int(qMax<qint64>(got, 0) * 8)};
  if (width % 8) line[rowBytes - 1] &= uchar(0xff << (8 - width % 8));
  return {};
}

RowOutcome plainSamples(Text &text, int maxval, std::vector<quint32> &samples) {
  for (std::size_t i = 0; i < samples.size(); ++i) {
    char junk = 0;
    qint64 sample = 0;
    const Text::Outcome outcome = text.number(maxval, &sample, &junk);
    if (outcome != Text::kNumber)
      return {outcome == Text::kEnd ? Fault::kShort : Fault::kJunk, int(i), junk};
    samples[i] = quint32(sample);
  }
  return {};
}

RowOutcome rawSamples(QIODevice &device, QByteArray &bytes, std::vector<quint32> &samples) {
  const qint64 got = device.read(bytes.data(), bytes.size());
  const qint64 sampleBytes = bytes.size() / qint64(samples.size());
  if (got != bytes.size()) return {Fault::kShort, int(qMax<qint64>(got, 0) / sampleBytes)};
  const auto *in = reinterpret_cast<const uchar *>(bytes.constData());
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = sampleBytes == 2 ? in[2 * i] << 8 | in[2 * i + 1] : in[i];
  return {};
}

// Samples scaled to 8 bits into one row of the image, as Qt's reader scales them.
RowOutcome store(const std::vector<quint32> &samples, quint32 maxval, int channelCount,
                 uchar *line) {
  for (std::size_t i = 0; i < samples.size(); ++i)
    if (samples[i] > maxval) return {Fault::kAboveMaxval, int(i)};
  const auto to16 = [maxval](qint64 sample) { return quint16(sample * 65535 / maxval); };
  for (std::size_t x = 0; x * channelCount < samples.size(); ++x) {
    const quint32 *s = &samples[x * channelCount];
    if (channelCount == 1)
      line[x] = uchar(s[0] * 255 / maxval);
    else
      reinterpret_cast<QRgb *>(line)[x] =
          QRgba64::fromRgba64(to16(s[0]), to16(s[1]), to16(s[2]), 65535).toArgb32();
  }
  return {};
}

}  // namespace

bool isNetpbm(const QByteArray &firstBytes) {
  return firstBytes.size() >= 2 && firstBytes[0] == 'P' && firstBytes[1] >= '1' &&
         firstBytes[1] <= '6';
}

bool readNetpbmHeader(QIODevice &device, NetpbmHeader *header, QString *why) {
  char magic[2];
  if (device.read(magic, 2) != 2 || !isNetpbm(QByteArray(magic, 2))) {
    *why = ImagingText::tr("not a Netpbm picture");
    return false;
  }
  header->type = magic[1];
  Text text(device, 1024 * 1024);  // a header is short; a megabyte of comments is no header
  constexpr qint64 kMostSide = std::numeric_limits<int>::max();
  qint64 width = -1, height = -1, maxval = 1;
  char junk = 0;
  const bool read =
      text.number(kMostSide, &width, &junk) == Text::kNumber &&
      text.number(kMostSide, &height, &junk) == Text::kNumber &&
      (isBitmap(header->type) || text.number(kMostMaxval, &maxval, &junk) == Text::kNumber);
  if (!read || width > kMostSide || height > kMostSide || maxval < 1 || maxval > kMostMaxval) {
    *why = ImagingText::tr("broken Netpbm header (width, height and maxval 1 to %1 expected)")
               .arg(kMostMaxval);
    return false;
  }
  header->size = QSize(int(width), int(height));
  header->maxval = int(maxval);
  return true;
}

QImage readNetpbmPixels(QIODevice &device, const NetpbmHeader &header, QString *why) {
  const int width = header.size.width(), height = header.size.height();
  if (header.size.isEmpty()) {
    *why = ImagingText::tr("the picture has no pixels");
    return {};
  }
  const char type = header.type;
  const qint64 rowBytes = rawRowBytes(header);
  if (!isPlain(type) && !device.isSequential()) {
    const qint64 rows = (device.size() - device.pos()) / rowBytes;
    if (rows < height) {
      *why = ImagingText::tr(
                 "the picture's data is short, truncated: the file holds %1 of its %2 rows")
                 .arg(qMax<qint64>(rows, 0))
                 .arg(height);
      return {};
    }
  }
  QImage image(header.size, formatOf(type));
  if (image.isNull()) {
    *why = ImagingText::tr("out of memory");
    return {};
  }
  const int channelCount = channels(type);
  const qint64 samplesInAll = qint64(width) * height * channelCount;
  // Blanks and comments are free in number, but an endless stream of them is no picture.
  Text text(device, 16 * 1024 * 1024 + 16 * samplesInAll);
  std::vector<quint32> samples;
  QByteArray bytes;
  for (int y = 0; y < height; ++y) {
    uchar *line = image.scanLine(y);
    RowOutcome outcome;
    if (isBitmap(type)) {
      std::memset(line, 0, std::size_t(image.bytesPerLine()));
      outcome =
          isPlain(type) ? plainBits(text, width, line) : rawBits(device, width, rowBytes, line);
    }
    // In pieces, so that a wide row takes little memory beside the picture.
    constexpr int kPiece = 4096;
    for (int x = 0; !isBitmap(type) && x < width && outcome.fault == Fault::kNone; x += kPiece) {
      samples.resize(std::size_t(qMin(kPiece, width - x) * channelCount));
      bytes.resize(isPlain(type) ? 0 : qsizetype(samples.size()) * (header.maxval > 255 ? 2 : 1));
      outcome = isPlain(type) ? plainSamples(text, header.maxval, samples)
                              : rawSamples(device, bytes, samples);
      if (outcome.fault == Fault::kNone)
        outcome = store(samples, header.maxval, channelCount, line + x * image.depth() / 8);
      outcome.sample += x * channelCount;
    }
    if (outcome.fault != Fault::kNone) {
      *why = message(outcome, y, header, text.exhausted());
      return {};
    }
  }
  if (isBitmap(type)) image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  return image;
}
