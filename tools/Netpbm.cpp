#include "tools/Netpbm.h"

#include <limits>

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads the next header number, skipping blanks and '#' comments; -1 when
// there is none or it does not fit an int.
qint64 nextNumber(const QByteArray &file, qsizetype &at) {
  while (at < file.size() && (isSpace(file[at]) || file[at] == '#')) {
    if (file[at] == '#')
      while (at < file.size() && file[at] != '\n') ++at;
    else
      ++at;
  }
  qint64 value = -1;
  for (; at < file.size() && file[at] >= '0' && file[at] <= '9'; ++at) {
    value = (value < 0 ? 0 : value * 10) + (file[at] - '0');
    if (value > std::numeric_limits<int>::max()) return -1;
  }
  return value;
}

}  // namespace

std::optional<QSize> emptyNetpbmSize(const QByteArray &file) {
  if (file.size() < 2 || file[0] != 'P' || file[1] < '1' || file[1] > '6') return std::nullopt;
  const bool bitmap = file[1] == '1' || file[1] == '4';  // no maxval
  qsizetype at = 2;
  const qint64 width = nextNumber(file, at);
  const qint64 height = nextNumber(file, at);
  const qint64 maxval = bitmap ? 1 : nextNumber(file, at);
  if (width < 0 || height < 0 || maxval < 1 || maxval > 65535) return std::nullopt;
  if (width != 0 && height != 0) return std::nullopt;
  return QSize(int(width), int(height));
}

QByteArray binaryPgm(const GrayPicture &picture) {
  QByteArray file = "P5\n" + QByteArray::number(picture.width) + ' ' +
                    QByteArray::number(picture.height) + "\n255\n";
  file.append(reinterpret_cast<const char *>(picture.bytes.data()),
              qsizetype(picture.bytes.size()));
  return file;
}
