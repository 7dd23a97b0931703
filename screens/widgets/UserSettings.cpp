#include "screens/widgets/UserSettings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr auto kLastFolderKey = "files/lastFolder";
}  // namespace

QSettings userSettings() {
  return QSettings(QSettings::UserScope, QStringLiteral("canny-demo"),
                   QStringLiteral("canny-demo"));
}

QString lastFolder() {
  const QString folder = userSettings().value(kLastFolderKey).toString();
  // A folder since removed would open the dialog somewhere arbitrary.
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

void rememberFolderOf(const QString &path) {
  userSettings().setValue(kLastFolderKey, QFileInfo(path).absolutePath());
}
