#pragma once
// Some picture libraries (libpng, libjpeg) print straight to standard error,
// past Qt's message handler. While a capture lives, file descriptor 2 goes to
// a scratch file, so that a caller can quote or check what was printed.
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <mutex>

// Standard error is the process's, one for all threads: a capture holds this
// lock while it lasts, and so must any thread that writes to standard error
// while others may be capturing.
std::mutex &standardErrorLock();

class StandardErrorCapture {
 public:
  StandardErrorCapture();
  ~StandardErrorCapture();
  StandardErrorCapture(const StandardErrorCapture &) = delete;
  StandardErrorCapture &operator=(const StandardErrorCapture &) = delete;

  // Gives standard error back (and its lock); returns every byte written
  // meanwhile.
  QByteArray finish();

  // The last line of what a capture returned, trimmed.
  static QString lastLine(const QByteArray &printed);

 private:
  std::unique_lock<std::mutex> _lock;
  std::FILE *_scratch = nullptr;
  int _savedDescriptor = -1;
};
