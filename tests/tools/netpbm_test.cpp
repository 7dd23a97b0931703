// Netpbm read as Netpbm's tools read it: every form they accept, the same picture as Qt's reader
// wherever that reads a valid file, and one line naming the place of whatever they refuse.
#include <QBuffer>

#include "Harness.h"
#include "imaging/PictureReader.h"

namespace {

PictureReading readBytes(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return readPicture(buffer);
}

}  // namespace

// Generated files of every form and several maxvals, random samples, blanks and comments.
TEST(NetpbmReader, EveryFormGivesQtsPictureAndGray) {
  quint32 seed = 7;
  const auto random = [&seed](quint32 below) {
    return ((seed = seed * 1103515245 + 12345) >> 8) % below;
  };
  const char *const blanks[] = {" ", "\n", "\t", "\r\n", "  # a comment 1 2\n"};
  for (const char type : {'1', '2', '3', '4', '5', '6'})
    for (const int maxval : {1, 2, 15, 100, 255, 256, 1000, 65534, 65535})
      for (int round = 0; round < 3 && (maxval == 1 || (type != '1' && type != '4')); ++round) {
        const int width = (round ? 1 : 4097) + int(random(40)),
                  height = round ? 1 + int(random(9)) : 2;
        const int samples = width * height * (type == '3' || type == '6' ? 3 : 1);
        QByteArray file = QString("P%1\n# made\n%2 %3\n%4\n")
                              .arg(QChar(type))
                              .arg(width)
                              .arg(height)
                              .arg(maxval)
                              .toLatin1();
        if (type == '1' || type == '4') file.chop(2);  // no maxval
        if (type == '4')
          for (int i = 0; i < (width + 7) / 8 * height; ++i) file += char(random(256));
        for (int i = 0; i < samples && type != '4'; ++i) {
          const quint32 sample = random(maxval + 1);
          if (type <= '3') file += QByteArray::number(sample) + blanks[random(5)];
          if (type > '3' && maxval > 255) file += char(sample >> 8);
          if (type > '3') file += char(sample);
        }
        SCOPED_TRACE(file.left(20).toStdString());
        const QImage qts = QImage::fromData(file);
        ASSERT_FALSE(qts.isNull());
        const QImage ours = readBytes(file).picture;
        EXPECT_EQ(ours, qts);
        EXPECT_EQ(drawnGray(ours).bytes, drawnGray(qts).bytes);
      }
}

// Files Qt refuses or misreads, each the same picture as its plain twin.
TEST(NetpbmReader, AcceptsWhatNetpbmAccepts) {
  const std::pair<QByteArray, QByteArray> twins[] = {
      {"P1 3 2\n101\n011", "P1 3 2 1 0 1 0 1 1"},
      {"P1#c\n3 2 10#x\n1 0\v1\f1", "P1 3 2 1 0 1 0 1 1"},
      {QByteArray("P6 1 1 255#c\n\x01\x02#", 16), QByteArray("P6 1 1 255\n\x01\x02#", 14)},
      {QByteArray("P5#c\n2\r1\f255\v\0\x08", 15), QByteArray("P5 2 1 255\n\0\x08", 13)},
  };
  for (const auto &[odd, plain] : twins) {
    const PictureReading reading = readBytes(odd);
    EXPECT_EQ(reading.picture, QImage::fromData(plain)) << reading.why.toStdString();
  }
}

TEST(NetpbmReader, RefusesWhatNetpbmRefusesNamingThePlace) {
  const std::pair<QByteArray, QString> cases[] = {
      {"P2 3 1 255 1 300 2", "a sample above the maxval 255 at row 1, column 2"},
      {"P3 2 2 7 1 2 3 4 5 6 7 7 7 7 8 7", "above the maxval 7 at row 2, column 2"},
      {QByteArray("P5 2 2 100\n\x01\x02\x65\0", 15), "above the maxval 100 at row 2, column 1"},
      {QByteArray("P6 1 2 1000\n\x03\xe8\0\0\0\0\0\0\x03\xe9\0\0", 24), "1000 at row 2, column 1"},
      {"P1 3 1 1 2 0", "damaged at row 1, column 2: '2' where a bit, 0 or 1, should be"},
      {"P2 2 1 255 1 2x", "damaged at row 1, column 2: 'x' where a number should be"},
      {"P3 2 1 255 1 2 3\n\x01", "damaged at row 1, column 2: byte 0x01 where a number"},
      {"P3 2 1 255 1 2 3 4", "the picture's data is short, truncated at row 1, column 2"},
      {"P1 2 2 1 0 1", "truncated at row 2, column 2"},
      {"P5 4100 1 254\n" + QByteArray(4099, '\0') + '\xff', "254 at row 1, column 4100"},
      {"P2 1 1 255" + QByteArray(17 << 20, ' '), "more blanks and comments than"},
      {QByteArray("P4 9 2\n\xff\x80\xff", 10), "truncated: the file holds 1 of its 2 rows"},
      {"P6 15000 15000 65535\n" + QByteArray(100, 'x'), "the file holds 0 of its 15000 rows"},
      {"P5 1 1 0\n\1", "broken Netpbm header"},
      {"P2 1 1 65536 0", "broken Netpbm header"},
  };
  for (const auto &[file, why] : cases) {
    const PictureReading reading = readBytes(file);
    EXPECT_TRUE(reading.picture.isNull());
    EXPECT_TRUE(reading.why.contains(why) && !reading.why.contains('\n'))
        << reading.why.toStdString();
  }
}

// A stream is read as far as its data goes, its size unknown beforehand.
TEST_F(ToolTest, NetpbmStreamCutShortIsRefusedWhereItEnds) {
  const Outcome run = canny({"-", "out.pgm"}, QByteArray("P6 2 3 255\n") + QByteArray(10, 'x'));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("short, truncated at row 2, column 2\n")) << run.err.toStdString();
}
