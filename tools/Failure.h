#pragma once
// What ends a run early: the exit status and the one line that says why.
#include <QString>

struct Failure {
  static constexpr int kUsage = 2;  // the command line itself is wrong
  static constexpr int kRun = 1;    // a file could not be read, written or processed

  int status;
  QString culprit;  // the file or option at fault; empty when the reason names it
  QString reason;
};

// How messages name a file: its name, or what "-" stands for.
inline QString fileLabel(const QString &name, const QString &dash) {
  return name == QLatin1String("-") ? dash : name;
}
