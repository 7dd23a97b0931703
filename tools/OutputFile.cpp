#include "tools/OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QRandomGenerator>
#include <climits>
#include <cstring>

#include "imaging/FileNames.h"
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
  if (!passedOpen(descriptor)) throw Failure{Failure::kRun, label, QStringLiteral("is not open")};
  if (const int error = writeAll(descriptor, bytes))
    throw Failure{Failure::kRun, label, "cannot write: " + systemSays(error)};
}

// A device, FIFO or socket already there: written in place, as it is.
void writeInPlace(const QByteArray &bytes, const QString &output) {
  const int descriptor = ::open(fileNameBytes(output).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) throw Failure{Failure::kRun, output, "cannot open: " + systemSays(errno)};
  const int error = writeAll(descriptor, bytes);
  if (::close(descriptor) != 0 && error == 0 && errno != EINTR)
    throw Failure{Failure::kRun, output, "cannot write: " + systemSays(errno)};
  if (error) throw Failure{Failure::kRun, output, "cannot write: " + systemSays(error)};
}

// The file a name finally stands for: a symbolic link stays and its target is replaced.
QByteArray linkTarget(QByteArray path) {
  for (int depth = 0; depth < 40; ++depth) {  // the system's own limit on a chain of links
    char target[PATH_MAX];
    const ssize_t size = ::readlink(path.constData(), target, sizeof target);
    if (size < 0) break;
    const QByteArray next(target, size);
    path = next.startsWith('/') ? next : path.left(path.lastIndexOf('/') + 1) + next;
  }
  return path;
}

QByteArray scratchName(const QByteArray &folder) {
  return folder + ".canny-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// A new file in `folder` ("" for the working one) with the mode a new file gets.
// Where the system allows, it has no name until it is complete (`*name` stays
// empty), so that a run killed halfway leaves nothing behind. -1 and errno on failure.
int openScratch(const QByteArray &folder, QByteArray *name) {
  const int unnamed =
      ::open(folder.isEmpty() ? "." : folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return unnamed;
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = scratchName(folder);
    const int named = ::open(name->constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (named >= 0 || errno != EEXIST) return named;
  }
  return -1;
}

// Links an unnamed scratch file into `folder` under a fresh name; 0 or the errno.
int nameScratch(int descriptor, const QByteArray &folder, QByteArray *name) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = scratchName(folder);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name->constData(), AT_SYMLINK_FOLLOW) == 0)
      return 0;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name->clear();
  return error;
}

// Written beside the old file under a scratch name, synced, then renamed
// over it: a failure at any point leaves the old file as it was. An existing
// file must be writable and keeps its permissions.
void replaceRegularFile(const QByteArray &bytes, const QString &output) {
  const QByteArray path = linkTarget(fileNameBytes(output));
  const QByteArray folder = path.left(path.lastIndexOf('/') + 1);
  struct stat old;
  const bool exists = ::stat(path.constData(), &old) == 0;
  if (exists && ::access(path.constData(), W_OK) != 0)
    throw Failure{Failure::kRun, output, "cannot create: " + systemSays(errno)};
  QByteArray scratch;
  const int descriptor = openScratch(folder, &scratch);
  if (descriptor < 0) throw Failure{Failure::kRun, output, "cannot create: " + systemSays(errno)};
  int error = exists && ::fchmod(descriptor, old.st_mode & 07777) != 0 ? errno : 0;
  if (error == 0) error = writeAll(descriptor, bytes);
  if (error == 0 && ::fsync(descriptor) != 0) error = errno;
  if (error == 0 && scratch.isEmpty()) error = nameScratch(descriptor, folder, &scratch);
  if (::close(descriptor) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error == 0 && ::rename(scratch.constData(), path.constData()) != 0) error = errno;
  if (error) {
    if (!scratch.isEmpty()) ::unlink(scratch.constData());
    throw Failure{Failure::kRun, output, "cannot write: " + systemSays(error)};
  }
}

}  // namespace

void writeOutputFile(const QByteArray &bytes, const QString &output) {
  if (const int descriptor = namedDescriptor(output); descriptor >= 0)
    return writeDescriptor(descriptor, bytes, fileLabel(output, QStringLiteral("standard output")));
  struct stat status;
  if (::stat(fileNameBytes(output).constData(), &status) == 0) {
    if (S_ISDIR(status.st_mode))
      throw Failure{Failure::kRun, output, QStringLiteral("is a folder")};
    if (!S_ISREG(status.st_mode)) return writeInPlace(bytes, output);
  }
  replaceRegularFile(bytes, output);
}
