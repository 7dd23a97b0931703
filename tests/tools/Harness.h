#pragma once
// The built canny run in a scratch folder, and the edge maps it should give, from the engine.
#include <gtest/gtest.h>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

#include <canny/cannyEdgeDetector.h>
#include "imaging/GrayBitmap.h"
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
  void write(const QString &name, const QByteArray &bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  QByteArray read(const QString &name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Run without a display; `inChild` runs in the new process before canny starts, to set limits.
  Outcome canny(const QStringList &arguments, const QByteArray &input = {},
                const std::function<void()> &inChild = {}) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(name);
    environment.insert("QT_QPA_PLATFORM", "no-such-platform");
    environment.insert("LC_ALL", "C");  // names and messages must not depend on the locale
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(scratch.path());
    if (inChild) process.setChildProcessModifier(inChild);
    process.start(CANNY_PATH, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool ended =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
  }
};

inline QString dataFile(const QString &name) { return QStringLiteral(TEST_DATA_DIR "/") + name; }

inline QByteArray pgm(const GrayPicture &picture) {
  return QString("P5\n%1 %2\n255\n").arg(picture.width).arg(picture.height).toLatin1() +
         QByteArray(reinterpret_cast<const char *>(picture.bytes.data()),
                    qsizetype(picture.bytes.size()));
}

// Gray as the application draws it.
inline GrayPicture drawnGray(const QImage &picture) {
  GrayPicture gray{picture.width(), picture.height(), {}};
  gray.bytes.resize(std::size_t(gray.width) * std::size_t(gray.height));
  QImage bitmap = grayBitmapOver(gray.bytes.data(), gray.width, gray.height);
  drawGray(picture, bitmap);
  return gray;
}

inline GrayPicture edgesOf(GrayPicture picture, Values values) {
  cannyEdgeDetector(values.t1, values.t2, values.sigma, values.steps, picture.width, picture.height,
                    picture.bytes.data());
  return picture;
}

// Ramps, a bright block and some texture: plenty of edges at every size.
inline GrayPicture pattern(int width, int height) {
  GrayPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool block = x > width / 3 && x < width * 2 / 3 && y > height / 4 && y < height / 2;
      picture.bytes.push_back(block ? 250 : std::uint8_t((x * 9 + y * 4 + (x * y) % 23) % 200));
    }
  return picture;
}
