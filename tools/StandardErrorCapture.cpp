#include "tools/StandardErrorCapture.h"

#include <unistd.h>
#include <QByteArray>
#include <QList>

std::mutex &standardErrorLock() {
  static std::mutex lock;
  return lock;
}

StandardErrorCapture::StandardErrorCapture() : lock_(standardErrorLock()) {
  std::fflush(stderr);
  scratch_ = std::tmpfile();
  if (!scratch_) return;  // then the libraries speak for themselves
  savedDescriptor_ = dup(STDERR_FILENO);
  if (savedDescriptor_ < 0 || dup2(fileno(scratch_), STDERR_FILENO) < 0) {
    if (savedDescriptor_ >= 0) close(savedDescriptor_);
    savedDescriptor_ = -1;
  }
}

StandardErrorCapture::~StandardErrorCapture() { finish(); }

QString StandardErrorCapture::finish() {
  if (savedDescriptor_ >= 0) {
    std::fflush(stderr);
    dup2(savedDescriptor_, STDERR_FILENO);
    close(savedDescriptor_);
    savedDescriptor_ = -1;
  }
  if (lock_.owns_lock()) lock_.unlock();
  if (!scratch_) return {};
  std::rewind(scratch_);
  QByteArray text;
  char chunk[512];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, scratch_)) > 0;)
    text.append(chunk, qsizetype(n));
  std::fclose(scratch_);
  scratch_ = nullptr;
  const QList<QByteArray> lines = text.trimmed().split('\n');
  return QString::fromLocal8Bit(lines.last()).trimmed();
}
