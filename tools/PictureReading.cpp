#include "tools/PictureReading.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <utility>

#include "screens/GrayBitmap.h"
#include "tools/Failure.h"
#include "tools/Netpbm.h"
#include "tools/QtMessages.h"
#include "tools/StandardErrorCapture.h"

namespace {

// Qt's default refuses pictures above 128 MB decoded; a 20000 x 20000 colour
// photograph takes 1.6 GB, and the detector needs about 20 bytes a pixel on
// top, so larger pictures are refused before anything is allocated.
constexpr int kLargestPictureMegabytes = 2048;

QByteArray readWholeFile(const QString &input, const QString &label) {
  QFile file(input);
  const bool opened = input == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                  : file.open(QIODevice::ReadOnly);
  if (!opened) throw Failure{Failure::kRun, label, "cannot open: " + file.errorString()};
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Failure{Failure::kRun, label, "cannot read: " + file.errorString()};
  if (bytes.isEmpty()) throw Failure{Failure::kRun, label, QStringLiteral("empty file")};
  return bytes;
}

// Formats told by their first bytes. Naming the format spares Qt probing the
// content with every image plugin it has, which loads them all and would
// take longer than the whole run on small pictures.
QByteArray formatByContent(const QByteArray &file) {
  if (file.size() >= 2 && file[0] == 'P' && file[1] >= '1' && file[1] <= '6') return "ppm";
  if (file.startsWith("\x89PNG\r\n\x1a\n")) return "png";
  if (file.startsWith("\xff\xd8\xff")) return "jpeg";
  if (file.startsWith("BM")) return "bmp";
  return {};
}

// libjpeg fills in data that is missing or broken with gray, and only warns.
QString damageReported(const QStringList &qtSaid) {
  for (const QString &said : qtSaid)
    if (said.startsWith(QLatin1String("Premature end of JPEG file")) ||
        said.startsWith(QLatin1String("Corrupt JPEG data")))
      return said;
  return {};
}

QImage decode(QByteArray file, const QString &input, const QString &label) {
  QBuffer buffer(&file);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (const QByteArray format = formatByContent(file); !format.isEmpty()) {
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
  } else {
    reader.setFormat(QFileInfo(input).suffix().toLower().toLatin1());  // a hint only
  }
  QImageReader::setAllocationLimit(kLargestPictureMegabytes);

  takeQtMessages();
  StandardErrorCapture libraries;
  const QImage image = reader.read();
  const QString printed = libraries.finish();
  const QStringList qtSaid = takeQtMessages();

  if (image.isNull()) {
    const QString why = !printed.isEmpty()  ? printed
                        : !qtSaid.isEmpty() ? qtSaid.last()
                                            : reader.errorString();
    throw Failure{Failure::kRun, label, "cannot read picture: " + why};
  }
  if (const QString damage = damageReported(qtSaid); !damage.isEmpty())
    throw Failure{Failure::kRun, label, "damaged picture: " + damage};
  return image;
}

}  // namespace

GrayPicture readGrayPicture(const QString &input) {
  const QString label = fileLabel(input, QStringLiteral("standard input"));
  QByteArray file = readWholeFile(input, label);
  if (const auto size = emptyNetpbmSize(file))
    return GrayPicture{size->width(), size->height(), {}};

  const QImage image = decode(std::move(file), input, label);  // the file's bytes go here
  GrayPicture picture{image.width(), image.height(), {}};
  picture.bytes.resize(std::size_t(picture.width) * std::size_t(picture.height));
  QImage bitmap = grayBitmapOver(picture.bytes.data(), picture.width, picture.height);
  drawGray(image, bitmap);
  return picture;
}
