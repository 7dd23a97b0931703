#pragma once
// Running the built canny on files in a scratch folder, and the edge maps it
// should give, computed in-process with the engine.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "tools/GrayPicture.h"

struct Outcome {
  int status = -1;  // -1 when canny crashed or hung
  QByteArray out, err;
};

struct Values {
  float t1 = 2, t2 = 6, sigma = 2;
  int steps = 4;
};

// A scratch folder that canny runs in, so relative names appear in messages.
class ToolTest : public testing::Test {
 protected:
  QTemporaryDir scratch;

  QString path(const QString &name) const { return scratch.filePath(name); }
  void write(const QString &name, const QByteArray &bytes) const;
  QByteArray read(const QString &name) const;
  // Runs without a display: no DISPLAY and a platform that does not exist.
  // `inChild` runs in the new process before canny starts, to set limits.
  Outcome canny(const QStringList &arguments, const QByteArray &input = {},
                const std::function<void()> &inChild = {}) const;
};

QString dataFile(const QString &name);
QByteArray pgm(const GrayPicture &picture);
GrayPicture drawnGray(const QImage &picture);  // gray as the application draws it
GrayPicture edgesOf(GrayPicture picture, Values values);
// Ramps, a bright block and some texture: plenty of edges at every size.
GrayPicture pattern(int width, int height);
