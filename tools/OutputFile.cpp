#include "tools/OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "tools/Failure.h"
#include "tools/StandardStreams.h"

namespace {

QString systemSays(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Every byte, through short writes and interruptions; 0 or the errno.
int writeAll(int descriptor, const QByteArray &bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t written = ::write(descriptor, bytes.constData() + done, bytes.size() - done);
    if (written < 0 && errno != EINTR) return errno;
    if (written > 0) done += written;
  }
  return 0;
}

// The descriptor that "-", /dev/stdout or /dev/fd/N stands for; -1 for other names.
int namedDescriptor(const QString &output) {
  if (output == QLatin1String("-") || output == QLatin1String("/dev/stdout")) return 1;
  if (output == QLatin1String("/dev/stderr")) return 2;
  for (const QLatin1String prefix : {QLatin1String("/dev/fd/"), QLatin1String("/proc/self/fd/")}) {
    bool isNumber = false;
    const int descriptor = output.mid(prefix.size()).toInt(&isNumber);
    if (output.startsWith(prefix) && isNumber && descriptor >= 0) return descriptor;
  }
  return -1;
}

void writeDescriptor(int descriptor, const QByteArray &bytes, const QString &label) {
  if (standardStreamWasClosed(descriptor) || fcntl(descriptor, F_GETFD) == -1)
    throw Failure{Failure::kRun, label, QStringLiteral("is closed")};
  if (const int error = writeAll(descriptor, bytes))
    throw Failure{Failure::kRun, label, "cannot write: " + systemSays(error)};
}

// A device, FIFO or socket already there: written in place, as it is.
void writeInPlace(const QByteArray &bytes, const QString &output) {
  const int descriptor =
      ::open(QFile::encodeName(output).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) throw Failure{Failure::kRun, output, "cannot open: " + systemSays(errno)};
  const int error = writeAll(descriptor, bytes);
  if (::close(descriptor) != 0 && error == 0 && errno != EINTR)
    throw Failure{Failure::kRun, output, "cannot write: " + systemSays(errno)};
  if (error) throw Failure{Failure::kRun, output, "cannot write: " + systemSays(error)};
}

// Written beside the old file under a scratch name, synced, then renamed
// over it: a failure at any point leaves the old file as it was.
void replaceRegularFile(const QByteArray &bytes, const QString &output) {
  QSaveFile file(output);
  if (!file.open(QIODevice::WriteOnly))
    throw Failure{Failure::kRun, output, "cannot create: " + file.errorString()};
  // Straight to the descriptor: QSaveFile's buffered writes can lose errno.
  int error = writeAll(file.handle(), bytes);
  if (error == 0 && ::fsync(file.handle()) != 0) error = errno;
  if (error) {
    file.cancelWriting();
    throw Failure{Failure::kRun, output, "cannot write: " + systemSays(error)};
  }
  if (!file.commit()) throw Failure{Failure::kRun, output, "cannot write: " + file.errorString()};
}

}  // namespace

void writeOutputFile(const QByteArray &bytes, const QString &output) {
  if (const int descriptor = namedDescriptor(output); descriptor >= 0)
    return writeDescriptor(descriptor, bytes, fileLabel(output, QStringLiteral("standard output")));
  struct stat status;
  if (::stat(QFile::encodeName(output).constData(), &status) == 0) {
    if (S_ISDIR(status.st_mode))
      throw Failure{Failure::kRun, output, QStringLiteral("is a folder")};
    if (!S_ISREG(status.st_mode)) return writeInPlace(bytes, output);
  }
  replaceRegularFile(bytes, output);
}
