#include "imaging/StandardErrorCapture.h"

#include <unistd.h>
#include <QList>

std::mutex &standardErrorLock() {
  static std::mutex lock;
  return lock;
}

StandardErrorCapture::StandardErrorCapture() : _lock(standardErrorLock()) {
  std::fflush(stderr);
  _scratch = std::tmpfile();
  if (!_scratch) return;  // then the libraries speak for themselves
  _savedDescriptor = dup(STDERR_FILENO);
  if (_savedDescriptor < 0 || dup2(fileno(_scratch), STDERR_FILENO) < 0) {
    if (_savedDescriptor >= 0) close(_savedDescriptor);
    _savedDescriptor = -1;
  }
}

StandardErrorCapture::~StandardErrorCapture() { finish(); }

QByteArray StandardErrorCapture::finish() {
  if (_savedDescriptor >= 0) {
    std::fflush(stderr);
    dup2(_savedDescriptor, STDERR_FILENO);
    close(_savedDescriptor);
    _savedDescriptor = -1;
  }
  if (_lock.owns_lock()) _lock.unlock();
  if (!_scratch) return {};
  std::rewind(_scratch);
  QByteArray text;
  char chunk[512];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, _scratch)) > 0;)
    text.append(chunk, qsizetype(n));
  std::fclose(_scratch);
  _scratch = nullptr;
  return text;
}

QString StandardErrorCapture::lastLine(const QByteArray &printed) {
  const QList<QByteArray> lines = printed.trimmed().split('\n');
  return QString::fromLocal8Bit(lines.last()).trimmed();
}
