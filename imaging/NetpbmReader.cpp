#include "imaging/NetpbmReader.h"

#include <limits>

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Numbers in text, with blanks and '#' comments to the end of the line
// between them, as the header and plain PGM samples hold them.
class NumberReader {
 public:
  NumberReader(QIODevice &device, qint64 mostBytes) : _device(device), _left(mostBytes) {}

  // The next number, or -1 at the end of the data, on anything else than a
  // number, or past `most` or the byte allowance.
  qint64 next(qint64 most) {
    char c = 0;
    do {
      if (!get(&c)) return -1;
      if (c == '#') {
        if (!skipComment()) return -1;
        c = '\n';
      }
    } while (isSpace(c));
    if (!isDigit(c)) return -1;
    qint64 value = 0;
    while (isDigit(c)) {
      value = value * 10 + (c - '0');
      if (value > most) return -1;
      if (!get(&c)) return value;
    }
    if (c == '#') skipComment();  // a comment right after a number ends it
    return isSpace(c) || c == '#' ? value : -1;
  }

 private:
  bool get(char *c) { return _left-- > 0 && _device.getChar(c); }
  bool skipComment() {
    for (char c = 0; get(&c);)
      if (c == '\n') return true;
    return false;
  }

  QIODevice &_device;
  qint64 _left;
};

constexpr int kMostMaxval = 65535;

// x 255 / maxval, truncated, kept to 8 bits for samples above maxval.
uchar scaled(qint64 sample, int maxval) { return uchar(sample * 255 / maxval); }

bool readBinaryRows(QIODevice &device, int maxval, QImage &image) {
  const int width = image.width();
  const qint64 rowBytes = maxval > 255 ? 2 * qint64(width) : width;
  QByteArray row(rowBytes, Qt::Uninitialized);
  for (int y = 0; y < image.height(); ++y) {
    uchar *out = image.scanLine(y);
    if (maxval == 255) {
      if (device.read(reinterpret_cast<char *>(out), width) != width) return false;
      continue;
    }
    if (device.read(row.data(), rowBytes) != rowBytes) return false;
    const auto *in = reinterpret_cast<const uchar *>(row.constData());
    for (int x = 0; x < width; ++x)
      out[x] = scaled(maxval > 255 ? in[2 * x] << 8 | in[2 * x + 1] : in[x], maxval);
  }
  return true;
}

bool readPlainRows(NumberReader &numbers, int maxval, QImage &image) {
  for (int y = 0; y < image.height(); ++y) {
    uchar *out = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      const qint64 sample = numbers.next(std::numeric_limits<int>::max() / 255);
      if (sample < 0) return false;
      out[x] = scaled(sample, maxval);
    }
  }
  return true;
}

}  // namespace

bool isNetpbm(const QByteArray &firstBytes) {
  return firstBytes.size() >= 2 && firstBytes[0] == 'P' && firstBytes[1] >= '1' &&
         firstBytes[1] <= '6';
}

bool isGrayNetpbm(const NetpbmHeader &header) { return header.type == '2' || header.type == '5'; }

bool readNetpbmHeader(QIODevice &device, NetpbmHeader *header, QString *why) {
  char magic[2];
  if (device.read(magic, 2) != 2 || !isNetpbm(QByteArray(magic, 2))) {
    *why = QStringLiteral("not a Netpbm picture");
    return false;
  }
  header->type = magic[1];
  // A header is short; a megabyte of comments is no header.
  NumberReader numbers(device, 1024 * 1024);
  constexpr qint64 kMostSide = std::numeric_limits<int>::max();
  const qint64 width = numbers.next(kMostSide);
  const qint64 height = width < 0 ? -1 : numbers.next(kMostSide);
  const bool bitmap = header->type == '1' || header->type == '4';
  const qint64 maxval = height < 0 ? -1 : bitmap ? 1 : numbers.next(kMostMaxval);
  if (maxval < 1) {
    *why = QStringLiteral("broken Netpbm header (width, height and maxval 1 to %1 expected)")
               .arg(kMostMaxval);
    return false;
  }
  header->size = QSize(int(width), int(height));
  header->maxval = int(maxval);
  return true;
}

QImage readGrayNetpbm(QIODevice &device, const NetpbmHeader &header, qint64 mostBytes,
                      QString *why) {
  QImage image(header.size, QImage::Format_Grayscale8);
  if (image.isNull()) {
    *why = QStringLiteral("out of memory");
    return {};
  }
  NumberReader numbers(device, mostBytes);
  if (header.type == '5' ? readBinaryRows(device, header.maxval, image)
                         : readPlainRows(numbers, header.maxval, image))
    return image;
  *why = QStringLiteral("the picture's data is short or broken");
  return {};
}
