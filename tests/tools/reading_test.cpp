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

// A little-endian 4 x 2 gray TIFF written by hand: its directory right after the header, where
// many writers put it, or after the pixels, as libtiff does.
QByteArray tiff(bool directoryFirst) {
  const quint32 pixelsAt = directoryFirst ? 8 + 2 + 9 * 12 + 4 : 8;
  const quint32 entries[][3] = {{256 | 3 << 16, 1, 4}, {257 | 3 << 16, 1, 2},  // width, height
                                {258 | 3 << 16, 1, 8}, {259 | 3 << 16, 1, 1},  // depth, no packing
                                {262 | 3 << 16, 1, 1}, {273 | 4 << 16, 1, pixelsAt},
                                {277 | 3 << 16, 1, 1}, {278 | 3 << 16, 1, 2},
                                {279 | 4 << 16, 1, 8}};  // strip offset, samples, rows, strip bytes
  QByteArray directory(2 + 9 * 12 + 4, '\0');
  qToLittleEndian<quint16>(9, directory.data());
  for (int i = 0; i < 9; ++i)
    for (int word = 0; word < 3; ++word)
      qToLittleEndian(entries[i][word], directory.data() + 2 + 12 * i + 4 * word);
  const QByteArray pixels = QByteArray::fromHex("10305070f0d0b090");
  QByteArray file("II*\0\0\0\0\0", 8);
  qToLittleEndian<quint32>(directoryFirst ? 8 : 16, file.data() + 4);
  return directoryFirst ? file + directory + pixels : file + pixels + directory;
}

// A 2 x 2 BMP of 32-bit pixels whose channels are given by masks after its header.
QByteArray bitfieldsBmp() {
  QByteArray file = "BM" + QByteArray(12 + 40 + 12 + 16, '\0');
  qToLittleEndian<quint32>(14 + 40 + 12, file.data() + 10);
  const quint32 info[] = {40, 2, 2, 1 | 32 << 16, 3, 16, 0, 0, 0, 0, 0xff0000, 0xff00, 0xff};
  for (int i = 0; i < 13; ++i) qToLittleEndian(info[i], file.data() + 14 + 4 * i);
  for (int i = 0; i < 4; ++i)
    qToLittleEndian<quint32>(0x102030u * (i + 1), file.data() + 66 + 4 * i);
  return file;
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

// Forms that are rarer but sound are read; structures that point outside the file are refused.
TEST_F(Reading, UncommonFormsAreReadAndBrokenStructuresRefused) {
  write("first.tif", tiff(true));
  write("last.tif", tiff(false));
  write("masks.bmp", bitfieldsBmp());
  for (const char *name : {"first.tif", "last.tif", "masks.bmp"}) {
    EXPECT_EQ(canny({name, "out.pgm"}).status, 0) << name;
    EXPECT_EQ(read("out.pgm"), pgm(edgesOf(drawnGray(QImage(path(name))), {}))) << name;
    QFile::remove(path("out.pgm"));
  }
  write("strip.tif", tiff(true).chopped(1));  // the strip runs past the end
  expectRefused("strip.tif", "truncated");
  write("next.tif", tiff(false).chopped(4));  // no room for the next directory's offset
  expectRefused("next.tif", "truncated");
  QByteArray palette = rleEndingEarly();
  qToLittleEndian<quint32>(300, palette.data() + 46);
  write("palette.bmp", palette);
  expectRefused("palette.bmp", "damaged: more than 256 BMP palette colours");
  QByteArray jpeg = encoded(colourPattern(8, 8), "jpeg");
  write("marker.jpg", jpeg.insert(jpeg.indexOf("\xff\xda"), "\xff\xd8"));  // after the frame
  expectRefused("marker.jpg", "damaged: a JPEG marker out of place");
}
