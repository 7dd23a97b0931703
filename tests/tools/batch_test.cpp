// Many pictures in one run: each edge map as the single-picture run writes
// it, failed inputs reported one line each while the others are still done.
#include <QDir>
#include <QFile>

#include "Harness.h"

TEST_F(ToolTest, BatchWritesWhatSingleRunsWriteAndReportsEachFailedInput) {
  QStringList good;
  for (int i = 0; i < 7; ++i) {
    good << QString("p%1.pgm").arg(i);
    write(good.last(), pgm(pattern(23 + 17 * i, 61 - 5 * i)));
  }
  QFile::copy(dataFile("rocket.jpg"), path("rocket.jpg"));  // colour, turned gray
  good << "rocket.jpg";
  write("broken.png", "\x89PNG\r\n\x1a\n not really");
  const QStringList values{"--t1", "1", "--sigma", "1.5", "--steps", "2"};

  const Outcome batch = canny(values + QStringList{"--output-dir", "maps"} + good +
                              QStringList{"broken.png", "missing.pgm"});
  EXPECT_EQ(batch.status, 1);
  const QList<QByteArray> lines = batch.err.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 2) << batch.err.toStdString();
  EXPECT_TRUE(batch.err.contains("canny: broken.png: ") && batch.err.contains("missing.pgm"));

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

TEST_F(ToolTest, BatchRefusesInputsThatWouldShareAnOutputName) {
  QDir(scratch.path()).mkdir("b");
  write("a.pgm", pgm(pattern(9, 9)));
  write("b/a.png", read("a.pgm"));
  write("c.pgm", pgm(pattern(12, 5)));
  const Outcome run =
      canny({"--format", "pgm", "--output-dir", "out", "a.pgm", "b/a.png", "c.pgm"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.startsWith("canny: b/a.png: ") && run.err.count('\n') == 1)
      << run.err.toStdString();
  EXPECT_EQ(read("out/a.pgm"), pgm(edgesOf(pattern(9, 9), {})));
  EXPECT_EQ(read("out/c.pgm"), pgm(edgesOf(pattern(12, 5), {})));
}
