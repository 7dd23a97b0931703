#include "tools/SameFile.h"

#include <sys/stat.h>

#include "imaging/FileNames.h"
#include "tools/Failure.h"

std::optional<FileIdentity> regularFileIdentity(const QString &name, int dash) {
  struct stat status;
  const bool found = name == QLatin1String("-")
                         ? ::fstat(dash, &status) == 0
                         : ::stat(fileNameBytes(name).constData(), &status) == 0;
  if (!found || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

QString sameFileReason(const QString &input, const QString &output) {
  return QStringLiteral("'%1' and '%2' are the same file").arg(input, output);
}

void refuseSameFile(const QString &input, const QString &output) {
  const auto read = regularFileIdentity(input, 0);
  if (read && read == regularFileIdentity(output, 1))
    throw Failure{Failure::kRun, {}, sameFileReason(input, output)};
}
