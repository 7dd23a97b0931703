#include "screens/camera/CameraPictureFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QStringList>
#include <utility>

#include "imaging/PictureReader.h"
#include "screens/widgets/UserSettings.h"

namespace {
QString tr(const char *text) { return QCoreApplication::translate("CameraDialog", text); }
}  // namespace

QString choosePictureFile(QWidget *parent) {
  QStringList patterns;
  for (const QByteArray &format : QImageReader::supportedImageFormats())
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  const QString filters =
      tr("Pictures (%1)").arg(patterns.join(u' ')) + QStringLiteral(";;") + tr("All files (*)");
  const QString path =
      QFileDialog::getOpenFileName(parent, tr("Open Picture"), lastFolder(), filters);
  if (!path.isEmpty()) rememberFolderOf(path);
  return path;
}

QImage readPictureFile(const QString &path, QString *why) {
  PictureReading reading = readPicture(path, {kDefaultMaxPixels, true});
  if (reading.picture.isNull() && why)
    *why = tr("Cannot open the picture “%1”: %2.")
               .arg(QDir::toNativeSeparators(path), unreadReason(reading));
  return std::move(reading.picture);
}
