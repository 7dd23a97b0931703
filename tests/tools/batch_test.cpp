// Many pictures in one run: each edge map as the single-picture run writes
// it, failed inputs reported one line each while the others are still done.
#include <QDir>
#include <QFile>

#include "Harness.h"

TEST_F(ToolTest, BatchWritesWhatSingleRunsWriteAndReportsEachFailedInput) {
  QStringList good;
  for (int i = 0; i < 7; ++i) {
    good << QString("p%1.%2.pgm").arg(i).arg(i % 2 ? "x" : "y");
    write(good.last(), pgm(pattern(23 + 17 * i, 61 - 5 * i)));
  }
  QFile::copy(dataFile("rocket.jpg"), path("rocket.jpg"));  // colour, turned gray
  good << "rocket.jpg";
  QDir(scratch.path()).mkdir("sub");
  write("sub/p0.y.bmp", pgm(pattern(5, 5)));  // its map would take p0.y.png's name
  write("broken.png", "\x89PNG\r\n\x1a\n not really");
  const QStringList values{"--t1", "1", "--sigma", "1.5", "--steps", "2"};

  const Outcome batch = canny(values + QStringList{"--output-dir", "maps"} + good +
                              QStringList{"broken.png", "sub/p0.y.bmp", "missing.pgm"});
  EXPECT_EQ(batch.status, 1);
  const QList<QByteArray> lines = batch.err.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 3) << batch.err.toStdString();
  for (const char *input : {"broken.png", "sub/p0.y.bmp", "missing.pgm"})
    EXPECT_TRUE(batch.err.contains(QByteArray("canny: ") + input + ": ")) << input;

  QStringList expected;
  for (const QString &input : good) {
    const QString name = QFileInfo(input).completeBaseName() + ".png";
    expected << name;
    ASSERT_EQ(canny(values + QStringList{input, "single.png"}).status, 0);
    EXPECT_EQ(read("maps/" + name), read("single.png")) << name.toStdString();
  }
  expected.sort();
  EXPECT_EQ(QDir(path("maps")).entryList(QDir::Files, QDir::Name), expected);
}
