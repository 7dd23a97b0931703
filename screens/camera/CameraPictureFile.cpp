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
// The camera dialog's words: these texts belong to it.
QString translated(const char *text) { return QCoreApplication::translate("CameraDialog", text); }
}  // namespace

QString choosePictureFile(QWidget *parent) {
  QStringList patterns;
  for (const QByteArray &format : QImageReader::supportedImageFormats())
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  const QString filters =
      translated(QT_TRANSLATE_NOOP("CameraDialog", "Pictures (%1)")).arg(patterns.join(u' ')) +
      QStringLiteral(";;") + translated(QT_TRANSLATE_NOOP("CameraDialog", "All files (*)"));
  const QString path = QFileDialog::getOpenFileName(
      parent, translated(QT_TRANSLATE_NOOP("CameraDialog", "Open Picture")), lastFolder(), filters);
  if (!path.isEmpty()) rememberFolderOf(path);
  return path;
}

QImage readPictureFile(const QString &path, QString *why) {
  PictureReading reading = readPicture(path, {kDefaultMaxPixels, true});
  if (reading.picture.isNull() && why)
    *why = translated(QT_TRANSLATE_NOOP("CameraDialog", "Cannot open the picture “%1”: %2."))
               .arg(QDir::toNativeSeparators(path), unreadReason(reading));
  return std::move(reading.picture);
}
