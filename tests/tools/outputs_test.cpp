// canny writes the engine's map of the bytes the application would give it, with the values as
// typed, as 8-bit gray in every format, the same for one picture or many.
#include <QDir>
#include <QtEndian>
#include <limits>

#include "Harness.h"
#include "imaging/EdgePng.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

const std::pair<QStringList, Values> kValueCases[] = {
    {{}, {2, 6, 2, 4}},
    {{"--t1", "0.1", "--t2", "1.3", "--sigma", "0.7", "--steps", "2"}, {0.1f, 1.3f, 0.7f, 2}},
    {{"--t1", "-1", "--t2=-0.5", "--sigma", "-2", "--steps", "-3"}, {-1, -0.5f, -2, -3}},
    {{"--t1", "nan", "--sigma", "nan"}, {kNan, 6, kNan, 4}},
    {{"--t1", "-inf", "--t2", "inf", "--sigma", "inf", "--steps", "1"}, {-kInf, kInf, kInf, 1}},
    {{"--t1", "9", "--t2", "3e0", "--sigma", "0", "--steps", "0"}, {9, 3, 0, 0}},
    {{"--t1", "0x1p-2", "--t2", "1e39", "--steps", "+1"}, {0.25f, kInf, 2, 1}},
};

}  // namespace

TEST_F(ToolTest, GrayPgmGivesTheEnginesEdgeMapForEveryValueSet) {
  for (const QSize size : {QSize(41, 29), QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(2, 2)}) {
    const GrayPicture picture = pattern(size.width(), size.height());
    write("in.pgm", pgm(picture));
    for (const auto &[arguments, values] : kValueCases) {
      SCOPED_TRACE(arguments.join(' ').toStdString() + " on width " + std::to_string(size.width()));
      const Outcome run = canny(arguments + QStringList{"in.pgm", "out.pgm"});
      ASSERT_EQ(run.status, 0) << run.err.toStdString();
      EXPECT_TRUE(run.err.isEmpty() && run.out.isEmpty());
      EXPECT_EQ(read("out.pgm"), pgm(edgesOf(picture, values)));
    }
  }
}

// Zero pixels in, zero pixels out, where Qt refuses such pictures; and the help and the version.
TEST_F(ToolTest, SpecialRunsWriteTheirAnswerToStandardOutput) {
  const std::tuple<QStringList, QByteArray, QByteArray> cases[] = {
      {{"-", "-"}, "P5\n0 5\n255\n", "P5\n0 5\n255\n"},
      {{"-", "-"}, "P2 7 0 # no rows\n 15 ", "P5\n7 0\n255\n"},
      {{"--help"}, {}, "Usage: canny"},
      {{"--version"}, {}, "canny " CANNY_VERSION "\n"}};
  for (const auto &[arguments, input, answer] : cases) {
    const Outcome run = canny(arguments, input);
    EXPECT_TRUE(run.status == 0 && run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.out.left(answer.size()), answer);
  }
}

// Qt reads gray Netpbm up to 32767 pixels a side; the own reader gives the same wherever Qt reads.
// Written twice, each format gives the same bytes: none from uninitialised memory (BMP padding).
TEST_F(ToolTest, EveryOutputFormatHoldsTheEdgeMapAsEightBitGrayTheSameEachTime) {
  const GrayPicture picture = pattern(1001, 30);  // rows whose padding Qt leaves dirty
  write("in.pgm", pgm(picture));
  const std::pair<const char *, QByteArray> formats[] = {{"png", "\x89PNG"}, {"PNG", "\x89PNG"},
                                                         {"bmp", "BM"},      {"tif", "II*"},
                                                         {"tiff", "II*"},    {"pgm", "P5"}};
  for (const auto &[extension, magic] : formats) {
    SCOPED_TRACE(extension);
    const QString output = QString("out.") + extension;
    ASSERT_EQ(canny({"in.pgm", output}).status, 0);
    const QByteArray first = read(output);
    ASSERT_EQ(canny({"in.pgm", output}).status, 0);
    EXPECT_EQ(read(output), first);
    EXPECT_TRUE(first.startsWith(magic));
    EXPECT_FALSE(first.contains("tIME"));
    const QImage written = QImage::fromData(first);
    EXPECT_TRUE(written.depth() == 8 && written.isGrayscale());
    EXPECT_EQ(drawnGray(written).bytes, edgesOf(picture, {}).bytes);
    for (int row = 0; magic == "BM" && row < 30; ++row)  // each row padded from 1001 to 1004 bytes
      EXPECT_EQ(
          first.mid(qFromLittleEndian<quint32>(first.constData() + 10) + row * 1004 + 1001, 3),
          QByteArray(3, '\0'));
  }
  write("thin.pgm", pgm(pattern(1, 3)));
  ASSERT_EQ(canny({"thin.pgm", "thin.png"}).status, 0);
  EXPECT_EQ(drawnGray(QImage(path("thin.png"))).bytes, edgesOf(pattern(1, 3), {}).bytes);
  // The PNG encoder also takes rows as QImage lays them out, here 1004 bytes apart.
  const QImage padded = QImage::fromData(read("out.png"));
  EXPECT_EQ(QImage::fromData(encodeEdgePng(padded.constBits(), padded.width(), padded.height(),
                                           padded.bytesPerLine())),
            padded);
}

// Pictures other than gray PGM go through the application's gray drawing.
TEST_F(ToolTest, BatchWritesWhatSingleRunsWriteAndReportsEachFailedInput) {
  QImage colour(37, 23, QImage::Format_ARGB32);
  for (int y = 0; y < colour.height(); ++y)
    for (int x = 0; x < colour.width(); ++x)
      colour.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, x < 20 ? 255 : 128));
  ASSERT_TRUE(colour.save(path("alpha.png")));
  ASSERT_TRUE(colour.convertToFormat(QImage::Format_Indexed8).save(path("palette.bmp")));
  ASSERT_TRUE(colour.convertToFormat(QImage::Format_Grayscale16).save(path("deep.png")));
  write("p0.y.pgm", pgm(pattern(23, 61)));
  QFile::copy(dataFile("rocket.jpg"), path("rocket.jpg"));
  const QStringList good{"alpha.png", "palette.bmp", "deep.png", "p0.y.pgm", "rocket.jpg"};
  QDir(scratch.path()).mkdir("sub");
  write("sub/p0.y.bmp", pgm(pattern(5, 5)));  // its map would take p0.y.png's name
  write("broken.png", "\x89PNG\r\n\x1a\n not really");
  const QStringList values{"--t1", "1", "--sigma", "1.5", "--steps", "2"};

  for (const QString jobs : {"1", "8"}) {
    const Outcome batch = canny(values + QStringList{"-j", jobs, "--output-dir", "maps" + jobs} +
                                good + QStringList{"broken.png", "sub/p0.y.bmp", "missing.pgm"});
    EXPECT_EQ(batch.status, 1);
    ASSERT_EQ(batch.err.count('\n'), 3) << batch.err.toStdString();
    for (const char *input : {"broken.png", "sub/p0.y.bmp", "missing.pgm"})
      EXPECT_TRUE(batch.err.contains(QByteArray("canny: ") + input + ": ")) << input;
    EXPECT_EQ(QDir(path("maps" + jobs)).entryList(QDir::Files).size(), good.size());
  }
  for (const QString &input : good) {
    const QString name = QFileInfo(input).completeBaseName() + ".png";
    ASSERT_EQ(canny(values + QStringList{input, "single.png"}).status, 0);
    EXPECT_EQ(read("maps1/" + name), read("single.png")) << name.toStdString();
    EXPECT_EQ(read("maps8/" + name), read("single.png")) << name.toStdString();
    EXPECT_EQ(drawnGray(QImage(path("single.png"))).bytes,
              edgesOf(drawnGray(QImage(path(input))), {1, 6, 1.5f, 2}).bytes);
  }
}
