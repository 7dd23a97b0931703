// Pictures in, safely: every format's truncated or damaged data refused, no unset memory reaching
// the edge map, sizes judged from headers before decoding or reading a stream on.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QBuffer>
#include <QElapsedTimer>
#include <QtEndian>

#include "Harness.h"

namespace {

// A 6 x 6 GIF with a graphic control extension, written by another program (Qt writes no GIF).
const QByteArray kGif = QByteArray::fromHex(
    "47494638396106000600f00000333333cccccc21f90400000000002c000000000600060000"
    "0208848f16b9e10f6328003b");

QByteArray encoded(const QImage &picture, const char *format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(picture.save(&buffer, format)) << format;
  return bytes;
}

QImage colourPattern(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 90));
  return picture;
}

// An 8-bit RLE BMP of 16 x 8 whose data ends with end-of-bitmap after two rows.
QByteArray rleEndingEarly() {
  QByteArray palette;  // 16 blues
  for (int i = 0; i < 16; ++i) palette += QByteArray(1, char(i * 16)) + QByteArray(3, '\0');
  const QByteArray data = QByteArray::fromHex("0403000006070001");
  QByteArray file = "BM" + QByteArray(12, '\0') + QByteArray(40, '\0') + palette + data;
  qToLittleEndian<quint32>(14 + 40 + 64, file.data() + 10);
  const quint32 info[] = {40, 16, 8, 1 | 8 << 16, 1, quint32(data.size()), 0, 0, 16, 0};
  for (int i = 0; i < 10; ++i) qToLittleEndian(info[i], file.data() + 14 + 4 * i);
  return file;
}

// The same picture stored top-down: rows in reverse order, the height negated.
QByteArray topDown(const QByteArray &bmp) {
  const int start = qFromLittleEndian<quint32>(bmp.constData() + 10);
  const int width = qFromLittleEndian<qint32>(bmp.constData() + 18);
  const int height = qFromLittleEndian<qint32>(bmp.constData() + 22);
  const int stride = (width * 24 + 31) / 32 * 4;
  QByteArray flipped = bmp.left(start);
  qToLittleEndian<qint32>(-height, flipped.data() + 22);
  for (int row = height - 1; row >= 0; --row) flipped += bmp.mid(start + row * stride, stride);
  return flipped;
}

}  // namespace

class Reading : public ToolTest {
 protected:
  // Refused with one line naming the file and saying what became of its data.
  void expectRefused(const QString &name, const QString &what, const QStringList &options = {}) {
    const Outcome run = canny(options + QStringList{name, "out.pgm"});
    EXPECT_EQ(run.status, 1) << name.toStdString();
    EXPECT_TRUE(run.err.startsWith("canny: " + name.toUtf8() + ": ") &&
                run.err.contains(what.toUtf8()) && run.err.count('\n') == 1 &&
                !run.err.contains("foo:"))
        << run.err.toStdString();
    EXPECT_TRUE(read("out.pgm").isNull());
  }
  // A shell command line in the scratch folder, where "$0" is canny.
  Outcome shell(const QString &command) const {
    QProcess process;
    process.setWorkingDirectory(scratch.path());
    process.start("sh", {"-c", command, CANNY_PATH});
    const bool ended = process.waitForFinished(60000);
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
  }
};

TEST_F(Reading, TruncatedOrDamagedDataIsRefusedInEveryFormat) {
  const QImage picture = colourPattern(40, 30);
  const std::pair<QString, QByteArray> files[] = {
      {"p.png", encoded(picture, "png")},  {"p.jpg", encoded(picture, "jpeg")},
      {"p.bmp", encoded(picture, "bmp")},  {"p.gif", kGif},
      {"p.tif", encoded(picture, "tiff")}, {"p.webp", encoded(picture, "webp")},
  };
  for (const auto &[name, whole] : files) {
    write(name, whole);
    const Outcome run = canny({name, "out.pgm"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(read("out.pgm"), pgm(edgesOf(drawnGray(QImage(path(name))), {})));
    QFile::remove(path("out.pgm"));
    for (const qsizetype cut : {qsizetype(1), whole.size() / 2}) {
      write(name, whole.chopped(cut));
      expectRefused(name, "truncated");
    }
  }
  QByteArray png = encoded(picture, "png");
  write("wide.png", png.replace(16, 4, QByteArray(4, '\0')));  // IHDR's width 0
  expectRefused("wide.png", "damaged");
  write("zeros.png", QByteArray(4, '\0'));
  expectRefused("zeros.png", "");
}

// Run twice with the heap filled with two different bytes: unset memory would show as a difference.
TEST_F(Reading, DecodedPicturesHoldNoUnsetMemory) {
  const QByteArray bmp = encoded(colourPattern(32, 24), "bmp");
  write("rle.bmp", rleEndingEarly());
  write("short.bmp", bmp.left(2000));
  for (const char *name : {"rle.bmp", "short.bmp"}) {
    Outcome runs[2];
    for (const int fill : {0, 1})
      runs[fill] = shell(QString("MALLOC_PERTURB_=%1 \"$0\" %2 -").arg(85 << fill).arg(name));
    EXPECT_EQ(runs[0].out, runs[1].out) << name;
    EXPECT_EQ(runs[0].status, QByteArray(name) == "rle.bmp" ? 0 : 1) << runs[0].err.toStdString();
  }
}

TEST_F(Reading, SizesAreJudgedFromHeadersBeforeDecodingOrReadingOn) {
  // Top-down BMPs are the pictures they are, and within the budget like any other.
  const QByteArray bmp = encoded(colourPattern(32, 24), "bmp");
  write("up.bmp", bmp);
  write("down.bmp", topDown(bmp));
  EXPECT_EQ(canny({"up.bmp", "up.pgm"}).status, 0);
  EXPECT_EQ(canny({"down.bmp", "down.pgm"}).status, 0);
  EXPECT_EQ(read("down.pgm"), read("up.pgm"));
  expectRefused("down.bmp", "budget", {"--max-pixels", "767"});
  // Every format's size read from its own header: a pixel over the budget refused, none accepted.
  const QImage picture = colourPattern(40, 30);
  const std::pair<QString, QByteArray> sized[] = {
      {"s.png", encoded(picture, "png")},
      {"s.jpg", encoded(picture, "jpeg")},
      {"s.tif", encoded(picture, "tiff")},
      {"s.webp", encoded(picture, "webp")},
      {"s.gif", kGif},
  };
  for (const auto &[name, bytes] : sized) {
    write(name, bytes);
    const int pixels = name == "s.gif" ? 36 : 1200;
    expectRefused(name, "budget", {"--max-pixels", QString::number(pixels - 1)});
    EXPECT_EQ(canny({"--max-pixels", QString::number(pixels), name, "out.pgm"}).status, 0)
        << name.toStdString();
    QFile::remove(path("out.pgm"));
  }

  // 15000 x 15000 declared in 1,846 bytes: refused at once, in little memory.
  QByteArray huge = bmp.left(1846);
  qToLittleEndian<qint32>(15000, huge.data() + 18);
  qToLittleEndian<qint32>(15000, huge.data() + 22);
  write("huge.bmp", huge);
  const Outcome run = canny({"huge.bmp", "out.pgm"}, {}, [] {
    const rlimit most{200 << 20, 200 << 20};
    setrlimit(RLIMIT_AS, &most);
  });
  EXPECT_TRUE(run.status == 1 && run.err.contains("truncated")) << run.err.toStdString();

  // Endless streams, after a broken header and after a sound one, refused within two seconds.
  QByteArray large = encoded(colourPattern(4, 4), "png").left(33);
  qToBigEndian<quint32>(15000, large.data() + 16);
  for (const QByteArray &header : {QByteArray("\x89PNG\r\n\x1a\n"), large}) {
    write("header", header);
    QElapsedTimer clock;
    clock.start();
    const Outcome run = shell("cat header /dev/zero | timeout 10 \"$0\" - out.png");
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(run.status == 1 && run.err.contains("damaged")) << run.err.toStdString();
  }
  EXPECT_TRUE(canny({"-", "out.png"}, {}, [] {
                dup2(open(".", O_RDONLY), 0);
              }).err.contains("standard input: cannot read picture: Is a directory"));
}
