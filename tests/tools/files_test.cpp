// Files in and out: a failure gives one line naming the culprit and loses nothing; outputs that
// are not regular files are written in place; reading stops at the pixel budget or the memory.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <QDir>

#include "Harness.h"

namespace {

const QByteArray kPrecious = "an earlier result that must survive";

// A resource limit for the child; beyond RLIMIT_FSIZE writes fail with EFBIG, as on a full disk.
std::function<void()> limit(int resource, rlim_t most) {
  return [resource, most] {
    const rlimit both{most, most};
    setrlimit(resource, &both);
    signal(SIGXFSZ, SIG_IGN);
  };
}

struct stat statusOf(const QString &path) {
  struct stat status {};
  ::stat(QFile::encodeName(path).constData(), &status);
  return status;
}

}  // namespace

class Files : public ToolTest {
 protected:
  const QByteArray edges = pgm(edgesOf(pattern(16, 16), {}));
  void SetUp() override { write("in.pgm", pgm(pattern(16, 16))); }
};

// Bad input, pictures over the pixel budget or the memory, and failed writes.
TEST_F(Files, EachFailureGivesOneLineNamingTheCulpritAndLosesNothing) {
  // A decompression bomb, 66 MB in memory, 0.5 MB as PNG, 529 megapixels.
  QImage bomb(23000, 23000, QImage::Format_Mono);
  bomb.fill(0);
  ASSERT_TRUE(bomb.save(path("bomb.png")));
  // More than Qt's own default limit of 128 MB, and cut short after its header.
  QImage large(12000, 12000, QImage::Format_Grayscale8);
  large.fill(0);
  ASSERT_TRUE(large.save(path("big.png")));
  write("big.png", read("big.png").left(1000));
  write("edge.pgm", "P5 1000 250 255\n" + QByteArray(250000, '\x80'));
  ASSERT_TRUE(QFile::copy(dataFile("rocket.jpg"), path("rocket.jpg")));
  const QByteArray jpeg = read("rocket.jpg");
  write("truncated.jpg", jpeg.left(jpeg.size() / 2));
  ASSERT_TRUE(QImage(dataFile("coins.png")).save(path("good.png")));
  QByteArray png = read("good.png");
  write("truncated.png", png.left(png.size() / 2));
  write("corrupt.png", png.replace(png.size() / 2, 64, QByteArray(64, 'x')));
  write("truncated.pgm", "P5\n8 8\n255\n" + QByteArray(10, '\1'));
  write("short.pgm", "P2 3 3 255 1 2 # 3\n");
  write("empty.pgm", "");
  write("absurd.pgm", "P5\n99999999999 5\n255\n");
  write("no-pixels.pgm", "P5\n0 5\n255\n");
  ASSERT_TRUE(QDir(scratch.path()).mkdir("folder"));
  for (const char *kept : {"kept.pgm", "kept.png", "kept.xyz", "kept.jpg"}) write(kept, kPrecious);
  const std::tuple<QStringList, int, QString> cases[] = {
      {{"missing.pgm", "kept.pgm"}, 1, "missing.pgm"},
      {{"empty.pgm", "kept.pgm"}, 1, "empty.pgm"},
      {{"truncated.pgm", "new.pgm"}, 1, "truncated.pgm"},
      {{"short.pgm", "new.pgm"}, 1, "short.pgm: cannot read picture: the picture's data is short"},
      {{"truncated.png", "kept.png"}, 1, "truncated.png"},
      {{"corrupt.png", "new.png"}, 1, "corrupt.png"},
      {{"truncated.jpg", "kept.png"}, 1, "truncated.jpg"},
      {{"absurd.pgm", "kept.pgm"}, 1, "absurd.pgm: cannot read picture: broken Netpbm header"},
      {{"folder", "kept.pgm"}, 1, "folder"},
      {{"/dev/zero", "kept.pgm"}, 1, "/dev/zero: cannot read picture: not a picture in a format"},
      {{"no-pixels.pgm", "kept.png"}, 1, "kept.png"},
      {{"in.pgm", "/proc/edges.pgm"}, 1, "/proc/edges.pgm"},  // unwritable, even for root
      {{"--format", "png", "in.pgm", "folder"}, 1, "folder"},
      {{"in.pgm", "kept.xyz"}, 2, "kept.xyz"},
      {{"in.pgm", "kept.jpg"}, 2, "kept.jpg: JPEG would add gray levels to the edge map"},
      {{"--format", "JPEG", "in.pgm", "-"}, 2, "--format: JPEG"},
      {{"--t1", "in.pgm", "kept.pgm"}, 2, "--t1: 'in.pgm' is not a number"},
      {{"--steps", "101", "in.pgm", "kept.pgm"}, 2, "--steps: '101' is not a whole number"},
      {{"--max-pixels", "-1", "in.pgm", "kept.pgm"}, 2, "--max-pixels"},
      {{"mis\nsing\x1b[31m.pgm", "kept.pgm"}, 1, "mis\\nsing\\x1b[31m.pgm: cannot read"},
      {{"--bogus", "in.pgm", "kept.pgm"}, 2, "bogus"},
      {{"--steps", "2147483648", "in.pgm", "kept.pgm"}, 2, "--steps"},
      {{"in.pgm", "kept.pgm", "--t1"}, 2, "--t1"},
      {{"in.pgm"}, 2, "INPUT and OUTPUT"},
      {{"in.pgm", "kept.pgm", "kept.png"}, 2, "INPUT and OUTPUT"},
      {{"bomb.png", "kept.pgm"}, 1, "bomb.png: 23000 x 23000 pixels is more than the budget"},
      {{"--max-pixels=249999", "edge.pgm", "kept.pgm"},
       1,
       "249999 pixels (--max-pixels raises it)\n"},
  };
  const QStringList before = QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden);
  const auto expectRefused = [&](const QStringList &arguments, int status, const QString &culprit,
                                 const QByteArray &input = {},
                                 const std::function<void()> &inChild = {}) {
    const Outcome run = canny(arguments, input, inChild);
    EXPECT_TRUE(run.status == status && run.out.isEmpty()) << run.status;
    EXPECT_TRUE(run.err.startsWith("canny: ") && run.err.endsWith('\n') && run.err.count('\n') == 1)
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(culprit.toUtf8())) << run.err.toStdString();
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    for (const char *kept : {"kept.pgm", "kept.png", "kept.xyz", "kept.jpg"})
      EXPECT_EQ(read(kept), kPrecious);
  };
  for (const auto &[arguments, status, culprit] : cases) expectRefused(arguments, status, culprit);
  expectRefused({"in.pgm", "kept.pgm"}, 1, "kept.pgm: cannot write: File too large", {},
                limit(RLIMIT_FSIZE, 100));
  expectRefused({"in.pgm", "-"}, 1, "canny: standard output: is closed\n", {},
                [] { close(STDOUT_FILENO); });
  expectRefused({"--max-pixels", "1", "-", "kept.pgm"}, 1,
                "standard input: cannot read picture: more data than",
                QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\x08\0\0\0\0", 29) +
                    QByteArray(17 << 20, 'x'));
  expectRefused({"-", "kept.pgm"}, 1, "standard input: 23000 x 23000 pixels", read("bomb.png"));
  expectRefused({"big.png", "kept.pgm"}, 1, "big.png: cannot read picture: libpng error");
  expectRefused({"big.png", "kept.pgm"}, 1, "canny: big.png: cannot read picture: out of memory\n",
                {}, limit(RLIMIT_AS, 200 << 20));
  EXPECT_EQ(canny({"--max-pixels", "250000", "edge.pgm", "out.pgm"}).status, 0);
}

// Standard input of any size, and outputs that are not regular files.
TEST_F(Files, StandardStreamsPipesAndRedirectedDescriptorsAreUsedInPlace) {
  const GrayPicture wide = pattern(40000, 2);  // wider than Qt's PGM reader goes
  EXPECT_EQ(canny({"-", "-"}, pgm(wide)).out, pgm(edgesOf(wide, {})));

  // Standard output sent to a file by the shell: written there, not replaced.
  write("redirected.pgm", kPrecious);
  const ino_t inode = statusOf(path("redirected.pgm")).st_ino;
  const QByteArray redirected = QFile::encodeName(path("redirected.pgm"));
  canny({"--format", "pgm", "in.pgm", "/dev/fd/1"}, {},
        [redirected] { dup2(open(redirected.constData(), O_WRONLY | O_TRUNC), STDOUT_FILENO); });
  EXPECT_EQ(read("redirected.pgm"), edges);
  EXPECT_EQ(statusOf(path("redirected.pgm")).st_ino, inode);

  ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
  QProcess reader;
  reader.start("cat", {path("fifo")});
  EXPECT_EQ(canny({"--format", "pgm", "in.pgm", "fifo"}).status, 0);
  ASSERT_TRUE(reader.waitForFinished(60000));
  EXPECT_EQ(reader.readAllStandardOutput(), edges);

  // A device node like /dev/null: written to, never replaced by a file.
  const QByteArray device = QFile::encodeName(path("null"));
  if (mknod(device.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
    GTEST_SKIP() << "mknod is not permitted here";
  EXPECT_EQ(canny({"--format", "pgm", "in.pgm", "null"}).status, 0);
  EXPECT_TRUE(S_ISCHR(statusOf(path("null")).st_mode));
}
