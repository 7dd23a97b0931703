#include "Harness.h"

#include <QFile>
#include <QProcess>

#include "engine/cannyEdgeDetector.h"
#include "imaging/GrayBitmap.h"

void ToolTest::write(const QString &name, const QByteArray &bytes) const {
  QFile file(path(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ToolTest::read(const QString &name) const {
  QFile file(path(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Outcome ToolTest::canny(const QStringList &arguments, const QByteArray &input,
                        const std::function<void()> &inChild) const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.insert("QT_QPA_PLATFORM", "no-such-platform");
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(scratch.path());
  if (inChild) process.setChildProcessModifier(inChild);
  process.start(CANNY_PATH, arguments);
  process.write(input);
  process.closeWriteChannel();
  Outcome run;
  if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
    run.status = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

QString dataFile(const QString &name) { return QStringLiteral(TEST_DATA_DIR "/") + name; }

QByteArray pgm(const GrayPicture &picture) {
  return "P5\n" + QByteArray::number(picture.width) + ' ' + QByteArray::number(picture.height) +
         "\n255\n" +
         QByteArray(reinterpret_cast<const char *>(picture.bytes.data()),
                    qsizetype(picture.bytes.size()));
}

GrayPicture drawnGray(const QImage &picture) {
  GrayPicture gray{picture.width(), picture.height(), {}};
  gray.bytes.resize(std::size_t(gray.width) * std::size_t(gray.height));
  QImage bitmap = grayBitmapOver(gray.bytes.data(), gray.width, gray.height);
  drawGray(picture, bitmap);
  return gray;
}

GrayPicture edgesOf(GrayPicture picture, Values values) {
  cannyEdgeDetector(values.t1, values.t2, values.sigma, values.steps, picture.width, picture.height,
                    picture.bytes.data());
  return picture;
}

GrayPicture pattern(int width, int height) {
  GrayPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool block = x > width / 3 && x < width * 2 / 3 && y > height / 4 && y < height / 2;
      picture.bytes.push_back(block ? 250 : std::uint8_t((x * 9 + y * 4 + (x * y) % 23) % 200));
    }
  return picture;
}
