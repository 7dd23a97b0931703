// The edge map canny writes is the engine's, on the bytes the application
// would give it, with the values exactly as typed.
#include <QBuffer>
#include <QImageWriter>
#include <cmath>
#include <limits>

#include "Harness.h"
#include "imaging/GrayBitmap.h"
#include "imaging/PictureReader.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct ValueCase {
  QStringList arguments;
  Values values;
};

const ValueCase kValueCases[] = {
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
    for (const ValueCase &valueCase : kValueCases) {
      SCOPED_TRACE(QString("%1x%2 %3")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(valueCase.arguments.join(' '))
                       .toStdString());
      const Outcome run = canny(valueCase.arguments + QStringList{"in.pgm", "out.pgm"});
      ASSERT_EQ(run.status, 0) << run.err.toStdString();
      EXPECT_TRUE(run.err.isEmpty() && run.out.isEmpty());
      EXPECT_EQ(read("out.pgm"), pgm(edgesOf(picture, valueCase.values)));
    }
  }
}

// Qt refuses these; zero pixels in, zero pixels out.
TEST_F(ToolTest, PictureWithoutPixelsGivesAnEdgeMapWithoutPixels) {
  const std::pair<QByteArray, QByteArray> cases[] = {{"P5\n0 5\n255\n", "P5\n0 5\n255\n"},
                                                     {"P2 7 0 # no rows\n 15 ", "P5\n7 0\n255\n"}};
  for (const auto &[input, output] : cases) {
    write("in.pgm", input);
    const Outcome run = canny({"in.pgm", "-"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, output);
  }
}

// Qt reads gray Netpbm up to 32767 pixels a side; the project's own reader,
// which goes further, gives the same picture wherever Qt reads one.
TEST(NetpbmReader, ScalesEveryMaxvalAsQtDoes) {
  for (const int maxval : {1, 2, 15, 100, 254, 255, 256, 1000, 65535})
    for (const char type : {'2', '5'}) {
      SCOPED_TRACE(QString("P%1 maxval %2").arg(type).arg(maxval).toStdString());
      QByteArray file = QByteArray("P") + type + " # made\n300 2\t" + QByteArray::number(maxval) +
                        (type == '2' ? "\n" : " ");
      for (int i = 0; i < 600; ++i) {
        const int sample = i * 7919 % (maxval + 1);
        if (type == '2')
          file += QByteArray::number(sample) + (i % 7 ? " " : "\n#\n");
        else if (maxval > 255)
          file += QByteArray(1, char(sample >> 8)) + char(sample);
        else
          file += char(sample);
      }
      QBuffer buffer(&file);
      ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
      const QImage ours = readPicture(buffer).picture;
      const QImage qts = QImage::fromData(file, "pgm");
      ASSERT_FALSE(qts.isNull());
      EXPECT_EQ(ours, qts);
    }
}

TEST_F(ToolTest, OtherPicturesGoThroughTheApplicationsGrayDrawing) {
  QImage colour(37, 23, QImage::Format_ARGB32);
  for (int y = 0; y < colour.height(); ++y)
    for (int x = 0; x < colour.width(); ++x)
      colour.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, x < 20 ? 255 : 128));
  ASSERT_TRUE(colour.save(path("alpha.png")));
  ASSERT_TRUE(colour.convertToFormat(QImage::Format_RGB888).save(path("colour.ppm")));
  ASSERT_TRUE(colour.convertToFormat(QImage::Format_Indexed8).save(path("palette.bmp")));
  ASSERT_TRUE(colour.convertToFormat(QImage::Format_Grayscale16).save(path("deep.png")));
  for (const QString &input : {dataFile("rocket.jpg"), path("alpha.png"), path("colour.ppm"),
                               path("palette.bmp"), path("deep.png")}) {
    SCOPED_TRACE(input.toStdString());
    ASSERT_EQ(canny({"--t1", "1.5", input, "out.pgm"}).status, 0);
    EXPECT_EQ(read("out.pgm"), pgm(edgesOf(drawnGray(QImage(input)), {1.5f, 6, 2, 4})));
  }
}

// Why gray pictures can share the colour path: drawing one changes nothing.
TEST(GrayBitmap, DrawingAGrayPictureKeepsEveryByte) {
  QImage gray(257, 3, QImage::Format_Grayscale8);  // rows padded in memory
  for (int y = 0; y < gray.height(); ++y)
    for (int x = 0; x < gray.width(); ++x) gray.scanLine(y)[x] = uchar(x + y * 101);
  EXPECT_EQ(drawnGray(gray).bytes, grayBytes(gray).bytes);
}
