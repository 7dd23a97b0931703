#include "tools/Netpbm.h"

QByteArray binaryPgm(const GrayPicture &picture) {
  QByteArray file = "P5\n" + QByteArray::number(picture.width) + ' ' +
                    QByteArray::number(picture.height) + "\n255\n";
  file.append(reinterpret_cast<const char *>(picture.bytes.data()),
              qsizetype(picture.bytes.size()));
  return file;
}
