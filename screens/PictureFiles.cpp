#include "screens/PictureFiles.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {
// Above this the detector's working memory (about 20 bytes a pixel) no longer
// fits comfortably in a desktop's memory.
constexpr qint64 kLargestPicturePixels = 100'000'000;

QString named(const QString &path) { return QFileInfo(path).fileName(); }
}  // namespace

OpenedPicture openPictureFile(const QString &path) {
  QImageReader reader(path);
  const QSize size = reader.size();
  if (size.isValid() && qint64(size.width()) * size.height() > kLargestPicturePixels)
    return {{},
            QObject::tr("%1 is too large: %2 x %3 pixels, at most %4 million")
                .arg(named(path))
                .arg(size.width())
                .arg(size.height())
                .arg(kLargestPicturePixels / 1'000'000)};
  QImage image = reader.read();
  if (image.isNull())
    return {{}, QObject::tr("%1 cannot be opened: %2").arg(named(path), reader.errorString())};
  return {image, {}};
}

QString saveGrayPicture(const QImage &gray, const QString &path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("pgm"))
    return QObject::tr("%1 cannot be saved: the name must end in .png or .pgm").arg(named(path));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), file.errorString());
  QImageWriter writer(&file, suffix.toLatin1());
  if (!writer.write(gray.convertToFormat(QImage::Format_Grayscale8))) {
    file.cancelWriting();
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), writer.errorString());
  }
  if (!file.commit())
    return QObject::tr("%1 cannot be saved: %2").arg(named(path), file.errorString());
  return {};
}
