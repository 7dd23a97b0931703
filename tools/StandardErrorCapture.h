#pragma once
// libpng prints its errors straight to standard error, past Qt's message
// handler. While a capture lives, standard error goes to a scratch file, so
// the tool still writes one line only and can quote the library in it.
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

  // Gives standard error back (and its lock); returns the last line written meanwhile.
  QString finish();

 private:
  std::unique_lock<std::mutex> lock_;
  std::FILE *scratch_ = nullptr;
  int savedDescriptor_ = -1;
};
