// Bad input: exit 1 (or 2 for wrong usage), one line on standard error that
// names the culprit, and no file created, changed or left behind.
#include <QDir>
#include <QFile>
#include <QImage>

#include "Harness.h"

namespace {

struct BadRun {
  QStringList arguments;
  int status;
  QString culprit;
};

QByteArray firstHalf(const QByteArray &file) { return file.left(file.size() / 2); }

}  // namespace

class Failures : public ToolTest {
 protected:
  const QByteArray precious = "an earlier result that must survive";

  void SetUp() override {
    QFile rocket(dataFile("rocket.jpg"));
    ASSERT_TRUE(rocket.open(QIODevice::ReadOnly));
    write("good.pgm", pgm(pattern(16, 16)));
    ASSERT_TRUE(QImage(dataFile("coins.png")).save(path("good.png")));
    QByteArray corrupt = read("good.png");
    corrupt.replace(corrupt.size() / 2, 64, QByteArray(64, 'x'));
    write("corrupt.png", corrupt);
    write("truncated.png", firstHalf(read("good.png")));
    write("truncated.jpg", firstHalf(rocket.readAll()));
    write("truncated.pgm", "P5\n8 8\n255\n" + QByteArray(10, '\1'));
    write("short.pgm", "P2 3 3 255 1 2 # 3\n");
    write("empty.pgm", "");
    write("text.pgm", "not a picture\n");
    write("absurd.pgm", "P5\n99999999999 5\n255\n");
    write("negative.pgm", "P5\n-5 5\n255\n" + QByteArray(25, '\1'));
    write("no-pixels.pgm", "P5\n0 5\n255\n");
    write("edge.pgm", "P5 1000 250 255\n" + QByteArray(250000, '\x80'));
    ASSERT_TRUE(QDir(scratch.path()).mkdir("folder"));
    for (const char *kept : {"kept.pgm", "kept.png", "kept.xyz", "kept", "kept.jpg"})
      write(kept, precious);
  }
};

TEST_F(Failures, EachGivesOneLineNamingTheCulpritAndLosesNothing) {
  const BadRun cases[] = {
      {{"missing.pgm", "kept.pgm"}, 1, "missing.pgm"},
      {{"empty.pgm", "kept.pgm"}, 1, "empty.pgm"},
      {{"text.pgm", "new.pgm"}, 1, "text.pgm"},
      {{"truncated.pgm", "new.pgm"}, 1, "truncated.pgm"},
      {{"short.pgm", "new.pgm"}, 1, "short.pgm: cannot read picture: the picture's data is short"},
      {{"truncated.png", "kept.png"}, 1, "truncated.png"},
      {{"corrupt.png", "new.png"}, 1, "corrupt.png"},
      {{"truncated.jpg", "kept.png"}, 1, "truncated.jpg"},
      {{"absurd.pgm", "kept.pgm"}, 1, "absurd.pgm: cannot read picture: broken Netpbm header"},
      {{"negative.pgm", "new.png"}, 1, "negative.pgm"},
      {{"folder", "kept.pgm"}, 1, "folder"},
      {{"/dev/zero", "kept.pgm"}, 1, "/dev/zero: cannot read picture: not a picture in a format"},
      {{"--max-pixels", "249999", "edge.pgm", "kept.pgm"},
       1,
       "edge.pgm: 1000 x 250 pixels is more"},
      {{"truncated.pgm", "-"}, 1, "truncated.pgm"},
      {{"no-pixels.pgm", "kept.png"}, 1, "kept.png"},
      {{"good.pgm", "missing-folder/out.pgm"}, 1, "missing-folder/out.pgm"},
      {{"good.pgm", "/proc/edges.pgm"}, 1, "/proc/edges.pgm"},  // unwritable, even for root
      {{"--format", "png", "good.pgm", "folder"}, 1, "folder"},
      {{"good.pgm", "kept.xyz"}, 2, "kept.xyz"},
      {{"good.pgm", "kept"}, 2, "kept"},
      {{"--format", "gif", "good.pgm", "kept.pgm"}, 2, "--format"},
      {{"good.pgm", "kept.jpg"},
       2,
       "kept.jpg: JPEG would add gray levels to the edge map; write PNG"},
      {{"--format", "JPEG", "good.pgm", "-"}, 2, "--format: JPEG"},
      {{"--t1", "good.pgm", "kept.pgm"}, 2, "--t1: 'good.pgm' is not a number"},
      {{"--steps", "101", "good.pgm", "kept.pgm"}, 2, "--steps: '101' is not a whole number"},
      {{"--max-pixels", "-1", "good.pgm", "kept.pgm"}, 2, "--max-pixels"},
      {{"mis\nsing\x1b[31m.pgm", "kept.pgm"}, 1, "mis\\nsing\\x1b[31m.pgm: cannot read"},
      {{"--bogus", "good.pgm", "kept.pgm"}, 2, "bogus"},
      {{"--t1", "abc", "good.pgm", "new.pgm"}, 2, "--t1"},
      {{"--t2", "1,5", "good.pgm", "kept.pgm"}, 2, "--t2"},
      {{"--sigma", "", "good.pgm", "kept.pgm"}, 2, "--sigma"},
      {{"--steps", "2.5", "good.pgm", "kept.pgm"}, 2, "--steps"},
      {{"--steps", "2147483648", "good.pgm", "kept.pgm"}, 2, "--steps"},
      {{"good.pgm", "kept.pgm", "--t1"}, 2, "--t1"},
      {{"good.pgm"}, 2, "INPUT and OUTPUT"},
      {{"good.pgm", "kept.pgm", "kept.png"}, 2, "INPUT and OUTPUT"},
  };
  const QStringList before = QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden);
  for (const BadRun &bad : cases) {
    SCOPED_TRACE(bad.arguments.join(' ').toStdString());
    const Outcome run = canny(bad.arguments);
    EXPECT_EQ(run.status, bad.status);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("canny: ") && run.err.endsWith('\n') && run.err.count('\n') == 1)
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(bad.culprit.toUtf8())) << run.err.toStdString();
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    for (const char *kept : {"kept.pgm", "kept.png", "kept.xyz", "kept", "kept.jpg"})
      EXPECT_EQ(read(kept), precious);
  }
}
