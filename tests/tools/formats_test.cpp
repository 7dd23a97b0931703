// The edge map reaches every output format as 8-bit gray, and standard
// input and output work as files do.
#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include "Harness.h"

namespace {

QImage decode(const QByteArray &file, QByteArray *format = nullptr) {
  QBuffer buffer;
  buffer.setData(file);
  QImageReader reader(&buffer);
  if (format) *format = reader.format();  // only known before reading
  return reader.read();
}

}  // namespace

// Written twice, each format gives the same bytes: nothing comes from
// uninitialised memory, such as the padding at the end of BMP rows.
TEST_F(ToolTest, EveryOutputFormatHoldsTheEdgeMapAsEightBitGrayTheSameEachTime) {
  const GrayPicture picture = pattern(1001, 30);  // rows whose padding Qt leaves dirty
  const GrayPicture edges = edgesOf(picture, {});
  write("in.pgm", pgm(picture));
  const std::pair<const char *, QByteArray> formats[] = {{"png", "png"},   {"PNG", "png"},
                                                         {"bmp", "bmp"},   {"tif", "tiff"},
                                                         {"tiff", "tiff"}, {"pgm", "pgm"}};
  for (const auto &[extension, expectedFormat] : formats) {
    SCOPED_TRACE(extension);
    const QString output = QString("out.") + extension;
    ASSERT_EQ(canny({"in.pgm", output}).status, 0);
    const QByteArray first = read(output);
    ASSERT_EQ(canny({"in.pgm", output}).status, 0);
    EXPECT_EQ(read(output), first);
    QByteArray format;
    const QImage written = decode(first, &format);
    EXPECT_EQ(format, expectedFormat);
    EXPECT_EQ(written.depth(), 8);
    EXPECT_TRUE(written.isGrayscale());
    EXPECT_EQ(grayBytes(written.convertToFormat(QImage::Format_Grayscale8)).bytes, edges.bytes);
    if (expectedFormat == "bmp") {  // each row padded from 1001 to 1004 bytes
      for (int row = 0; row < 30; ++row)
        EXPECT_EQ(
            first.mid(qFromLittleEndian<quint32>(first.constData() + 10) + row * 1004 + 1001, 3),
            QByteArray(3, '\0'));
    }
  }
}

TEST_F(ToolTest, DashReadsStandardInputAndWritesStandardOutput) {
  QFile coins(dataFile("coins.png"));
  ASSERT_TRUE(coins.open(QIODevice::ReadOnly));
  const Outcome png = canny({"--format", "png", "-", "-"}, coins.readAll());
  QByteArray format;
  const GrayPicture coinEdges = edgesOf(grayBytes(QImage(dataFile("coins.png"))), {});
  EXPECT_EQ(grayBytes(decode(png.out, &format)).bytes, coinEdges.bytes);
  EXPECT_EQ(format, "png");
}

TEST_F(ToolTest, HelpAndVersionGoToStandardOutput) {
  const Outcome help = canny({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char *mentioned :
       {"Usage: canny", "--t1", "--t2", "--sigma", "--steps", "--max-pixels", "--format",
        "standard output", "up to 100", "JPEG is refused"})
    EXPECT_TRUE(help.out.contains(mentioned)) << mentioned;
  const Outcome version = canny({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "canny " CANNY_VERSION "\n");
}
