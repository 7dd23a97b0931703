#pragma once
// Catches what is written to file descriptor 2 while it lives, byte for byte.
#include <unistd.h>
#include <QByteArray>
#include <QTemporaryFile>
#include <cstdio>

class StandardErrorCapture {
 public:
  StandardErrorCapture() {
    _file.open();
    std::fflush(stderr);
    _saved = ::dup(2);
    ::dup2(_file.handle(), 2);
  }
  ~StandardErrorCapture() { restore(); }

  // Everything written since the capture began; writing goes back to the
  // real standard error.
  QByteArray finish() {
    restore();
    _file.seek(0);
    return _file.readAll();
  }

 private:
  void restore() {
    if (_saved < 0) return;
    std::fflush(stderr);
    ::dup2(_saved, 2);
    ::close(_saved);
    _saved = -1;
  }

  QTemporaryFile _file;
  int _saved = -1;
};
