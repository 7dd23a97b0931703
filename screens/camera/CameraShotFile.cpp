#include "screens/camera/CameraShotFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
bool writePng(const QImage &picture, const QString &path, QString *why) {
  QSaveFile file(path);
  QImageWriter writer(&file, "png");
  if (file.open(QIODevice::WriteOnly) && writer.write(picture) && file.commit()) return true;
  *why = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
  return false;
}
}  // namespace

QString defaultShotFolder() {
  QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (pictures.isEmpty()) pictures = QDir::homePath();
  return QDir(pictures).filePath(QStringLiteral("Canny Demo"));
}

QString writeShotFile(const QImage &picture, const QString &folder, QString *why) {
  const QDir dir(folder);
  if (!dir.mkpath(QStringLiteral("."))) {
    *why = QObject::tr("cannot make the folder %1").arg(QDir::toNativeSeparators(folder));
    return {};
  }
  const QString stem = QStringLiteral("camera-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString path = dir.filePath(stem + QStringLiteral(".png"));
  for (int n = 2; QFile::exists(path); ++n)
    path = dir.filePath(stem + QStringLiteral("-%1.png").arg(n));

  // PNG keeps every pixel, partly see-through ones too: the tool draws the
  // file gray exactly as the screen draws the picture.
  return writePng(picture, path, why) ? path : QString();
}
