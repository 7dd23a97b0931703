#include "screens/widgets/ImageNamed.h"

#include <QFileInfo>
#include <QPixmap>

namespace {
QString resourcePath(const QString &name) {
  const QString file = QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".png") : name;
  return QStringLiteral(":/images/") + file;
}
}  // namespace

QImage imageNamed(const QString &name) { return QImage(resourcePath(name)); }

QIcon iconNamed(const QString &name) {
  const QImage picture = imageNamed(name);
  return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}
