#include "screens/picture/PictureFiles.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "imaging/EdgePng.h"
#include "imaging/PictureReader.h"
#include "imaging/PixelBudget.h"

namespace {
QString named(const QString &path) { return QFileInfo(path).fileName(); }
}  // namespace

OpenedPicture openPictureFile(const QString &path) {
  // The same reading and pixel budget as the command-line tool, so that its
  // command line gives the same map of the same file.
  applyPixelBudget(kDefaultMaxPixels);
  const PictureReading reading = readPicture(path);
  if (!reading.picture.isNull()) return {reading.picture, {}};
  const QString why =
      reading.why.isEmpty() ? QObject::tr("it has no pixels") : unreadReason(reading);
  return {{}, QObject::tr("%1 cannot be opened: %2").arg(named(path), why)};
}

QString saveGrayPicture(const QImage &gray, const QString &given) {
  // A name typed without an extension is saved as PNG.
  const QString path = QFileInfo(given).suffix().isEmpty() ? given + QStringLiteral(".png") : given;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("pgm"))
    return QObject::tr("%1 cannot be saved: the name must end in .png or .pgm").arg(named(path));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), file.errorString());
  const QImage bytes = gray.convertToFormat(QImage::Format_Grayscale8);
  if (suffix == QLatin1String("png")) {
    // The tool's encoder, so that Save and the command shown write the same file.
    const QByteArray png =
        encodeEdgePng(bytes.constBits(), bytes.width(), bytes.height(), bytes.bytesPerLine());
    if (png.isEmpty() || file.write(png) != png.size()) {
      file.cancelWriting();
      return QObject::tr("%1 cannot be saved: %2")
          .arg(named(path), png.isEmpty() ? QObject::tr("out of memory") : file.errorString());
    }
  } else if (QImageWriter writer(&file, "pgm"); !writer.write(bytes)) {
    file.cancelWriting();
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), writer.errorString());
  }
  if (!file.commit())
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), file.errorString());
  return {};
}
