// Files in and out: a failed write loses nothing and says why, outputs that
// are not regular files are written in place, and reading stops where the
// picture, the pixel budget or the memory ends.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <QDir>
#include <QProcess>

#include "Harness.h"

namespace {

const QByteArray kOld = "an earlier edge map";

// A resource limit for the child; writes beyond RLIMIT_FSIZE then fail with
// EFBIG, as on a full disk, instead of killing it.
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
  const GrayPicture picture = pattern(16, 16);
  const QByteArray edges = pgm(edgesOf(picture, {}));
  void SetUp() override { write("in.pgm", pgm(picture)); }
};

TEST_F(Files, AFailedWriteSaysWhyAndKeepsTheOldOutput) {
  write("old.pgm", kOld);
  const Outcome run = canny({"in.pgm", "old.pgm"}, {}, limit(RLIMIT_FSIZE, 100));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "canny: old.pgm: cannot write: File too large\n");
  EXPECT_EQ(read("old.pgm"), kOld);
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), QStringList({"in.pgm", "old.pgm"}));

  const Outcome toStdout = canny({"in.pgm", "-"}, {}, [] { close(STDOUT_FILENO); });
  EXPECT_EQ(toStdout.err, "canny: standard output: is closed\n");
}

TEST_F(Files, AFullDiskSaysSoAndKeepsTheOldOutput) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  ASSERT_TRUE(QDir(scratch.path()).mkdir("disk"));
  QProcess shell;
  shell.setWorkingDirectory(scratch.path());
  shell.start("unshare", {"-m", "--propagation", "private", "sh", "-c",
                          "mount -t tmpfs -o size=64k tmpfs disk || exit 99; echo old >disk/k.pgm;"
                          "dd if=/dev/zero of=disk/fill bs=4k 2>/dev/null;"
                          "\"$0\" in.pgm disk/k.pgm; echo $?; cat disk/k.pgm",
                          CANNY_PATH});
  ASSERT_TRUE(shell.waitForFinished(60000));
  if (shell.exitCode() == 99) GTEST_SKIP() << "no tmpfs in a private mount namespace here";
  EXPECT_EQ(shell.readAllStandardOutput(), "1\nold\n");
  EXPECT_EQ(shell.readAllStandardError(),
            "canny: disk/k.pgm: cannot write: No space left on device\n");
}

TEST_F(Files, DevicesPipesAndDescriptorsAreWrittenInPlace) {
  const Outcome toStdout = canny({"--format", "pgm", "in.pgm", "/dev/stdout"});
  EXPECT_EQ(toStdout.status, 0);
  EXPECT_EQ(toStdout.out, edges);

  // Standard output sent to a file by the shell: written there, not replaced.
  write("redirected.pgm", kOld);
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
  EXPECT_TRUE(S_ISFIFO(statusOf(path("fifo")).st_mode));

  if (mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
    GTEST_SKIP() << "this system does not allow mknod";
  EXPECT_EQ(canny({"--format", "pgm", "in.pgm", "null"}).status, 0);
  EXPECT_TRUE(S_ISCHR(statusOf(path("null")).st_mode));
}

TEST_F(Files, ReadingStopsWhereThePictureOrTheBudgetEnds) {
  const QByteArray endless = "\x89PNG\r\n\x1a\n" + QByteArray(17 << 20, 'x');
  const Outcome stream = canny({"--max-pixels", "1", "-", "out.pgm"}, endless);
  EXPECT_EQ(stream.status, 1);
  EXPECT_TRUE(stream.err.contains("standard input: cannot read picture: more data than"))
      << stream.err.toStdString();

  // Wider than Qt's PGM reader goes.
  const GrayPicture wide = pattern(40000, 2);
  EXPECT_EQ(canny({"-", "-"}, pgm(wide)).out, pgm(edgesOf(wide, {})));

  // A decompression bomb, 66 MB in memory, 0.5 MB as PNG, 529 megapixels.
  QImage bomb(23000, 23000, QImage::Format_Mono);
  bomb.fill(0);
  ASSERT_TRUE(bomb.save(path("bomb.png")));
  // More than Qt's own default limit of 128 MB, and cut short after its header.
  QImage large(12000, 12000, QImage::Format_Grayscale8);
  large.fill(0);
  ASSERT_TRUE(large.save(path("big.png")));
  write("big.png", read("big.png").left(1000));
  const std::pair<QStringList, QByteArray> refused[] = {
      {{"bomb.png", "out.pgm"}, "bomb.png: 23000 x 23000 pixels is more than the budget"},
      {{"-", "out.pgm"}, "standard input: 23000 x 23000 pixels"}};
  for (const auto &[arguments, message] : refused) {
    const Outcome run = canny(arguments, read("bomb.png"));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(message) && run.err.contains("--max-pixels"))
        << run.err.toStdString();
  }
  write("edge.pgm", "P5 1000 250 255\n" + QByteArray(250000, '\x80'));
  EXPECT_EQ(canny({"--max-pixels", "250000", "edge.pgm", "out.pgm"}).status, 0);
  const Outcome big = canny({"big.png", "out.pgm"});
  EXPECT_EQ(big.status, 1);
  EXPECT_FALSE(big.err.contains("limit") || big.err.contains("budget")) << big.err.toStdString();
  const Outcome cramped = canny({"big.png", "out.pgm"}, {}, limit(RLIMIT_AS, 200 << 20));
  EXPECT_EQ(cramped.err, "canny: big.png: cannot read picture: out of memory\n");
}
