#pragma once
// libpng prints its errors straight to standard error, past Qt's message
// handler. While a capture lives, standard error goes to a scratch file, so
// the tool still writes one line only and can quote the library in it.
#include <QString>
#include <cstdio>

class StandardErrorCapture {
 public:
  StandardErrorCapture();
  ~StandardErrorCapture();
  StandardErrorCapture(const StandardErrorCapture &) = delete;
  StandardErrorCapture &operator=(const StandardErrorCapture &) = delete;

  // Gives standard error back; returns the last line written meanwhile.
  QString finish();

 private:
  std::FILE *scratch_ = nullptr;
  int savedDescriptor_ = -1;
};
