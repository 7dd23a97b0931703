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
#include "imaging/FileNames.h"

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
  const QByteArray in = QFile::encodeName(path("in.pgm"));
  ASSERT_EQ(link(in.constData(), QFile::encodeName(path("hard.pgm")).constData()) |
                symlink("in.pgm", QFile::encodeName(path("soft.pgm")).constData()),
            0);
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
      {{"in.pgm", "./in.pgm"}, 1, "canny: 'in.pgm' and './in.pgm' are the same file\n"},
      {{"hard.pgm", "soft.pgm"}, 1, "canny: 'hard.pgm' and 'soft.pgm' are the same file\n"},
      {{"--output-dir", ".", "kept.png"}, 1, "canny: 'kept.png' and './kept.png' are the same"},
      {{"--output-dir", "in.pgm/new", "in.pgm"}, 1, "folder: Not a directory\n"},  // even for root
      {{"--format", "png", "in.pgm", "folder"}, 1, "folder"},
      {{"in.pgm", "kept.xyz"}, 2, "kept.xyz"},
      {{"in.pgm", "kept.jpg"}, 2, "kept.jpg: JPEG would add gray levels to the edge map"},
      {{"--format", "JPEG", "in.pgm", "-"}, 2, "--format: JPEG"},
      {{"--t1", "in.pgm", "kept.pgm"}, 2, "--t1: 'in.pgm' is not a number"},
      {{"--steps", "101", "in.pgm", "kept.pgm"}, 2, "--steps: '101' is not a whole number"},
      {{"-j", "0", "--output-dir", "d", "in.pgm"}, 2, "--jobs: '0' is not a whole number from 1"},
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
    SCOPED_TRACE(arguments.join(' ').toStdString());
    const Outcome run = canny(arguments, input, inChild);
    EXPECT_TRUE(run.status == status && run.out.isEmpty()) << run.status;
    EXPECT_TRUE(run.err.startsWith("canny: ") && run.err.endsWith('\n') && run.err.count('\n') == 1)
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(culprit.toUtf8())) << run.err.toStdString();
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    for (const char *kept : {"kept.pgm", "kept.png", "kept.xyz", "kept.jpg"})
      EXPECT_EQ(read(kept), kPrecious);
    EXPECT_EQ(read("in.pgm"), pgm(pattern(16, 16)));
  };
  for (const auto &[arguments, status, culprit] : cases) expectRefused(arguments, status, culprit);
  expectRefused({"in.pgm", "kept.pgm"}, 1, "kept.pgm: cannot write: File too large", {},
                limit(RLIMIT_FSIZE, 100));
  expectRefused({"--format", "pgm", "in.pgm", "/dev/fd/3"}, 1, "canny: /dev/fd/3: is not open\n",
                {}, [] { close(3); });  // whatever the test runner passed
  expectRefused({"-", "in.pgm"}, 1, "canny: '-' and 'in.pgm' are the same file\n", {},
                [in] { dup2(open(in.constData(), O_RDONLY), STDIN_FILENO); });
  expectRefused({"in.pgm", "-"}, 1, "canny: standard output: is not open\n", {},
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

  // A symbolic link stays; the file it names is replaced.
  ASSERT_TRUE(QDir(scratch.path()).mkdir("sub"));
  ASSERT_EQ(symlink("target.pgm", QFile::encodeName(path("sub/link.pgm")).constData()), 0);
  EXPECT_EQ(canny({"in.pgm", "sub/link.pgm"}).status, 0);
  EXPECT_EQ(read("sub/target.pgm"), edges);
  EXPECT_TRUE(QFileInfo(path("sub/link.pgm")).isSymLink());
  const QByteArray target = QFile::encodeName(path("sub/target.pgm"));
  ASSERT_EQ(chmod(target.constData(), 0604), 0);  // and keeps its permissions
  EXPECT_EQ(canny({"in.pgm", "sub/link.pgm"}).status, 0);
  EXPECT_EQ(statusOf(path("sub/target.pgm")).st_mode & 07777, 0604u);

  // Standard output sent to a file by the shell: written there, not replaced.
  write("redirected.pgm", kPrecious);
  const ino_t inode = statusOf(path("redirected.pgm")).st_ino;
  const QByteArray redirected = QFile::encodeName(path("redirected.pgm"));
  canny({"--format", "pgm", "in.pgm", "/dev/fd/1"}, {},
        [redirected] { dup2(open(redirected.constData(), O_WRONLY | O_TRUNC), STDOUT_FILENO); });
  EXPECT_EQ(read("redirected.pgm"), edges);
  EXPECT_EQ(statusOf(path("redirected.pgm")).st_ino, inode);
  rlimit files{};  // and a descriptor numbered beyond the first thousand
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_max > 1100) {
    write("high.pgm", kPrecious);
    const QByteArray high = QFile::encodeName(path("high.pgm"));
    canny({"--format", "pgm", "in.pgm", "/dev/fd/1100"}, {}, [high, files] {
      const rlimit raised{1101, files.rlim_max};
      setrlimit(RLIMIT_NOFILE, &raised);
      dup2(open(high.constData(), O_WRONLY | O_TRUNC), 1100);
    });
    EXPECT_EQ(read("high.pgm"), edges);
  }

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

// Outputs are checked against every input before anything is written; the other inputs are done.
TEST_F(Files, BatchRefusesEachOutputThatIsAnInputsFile) {
  for (const char *name : {"x.pgm", "q.pgm"}) write(name, read("in.pgm"));
  write("x.png", kPrecious);
  write("q.png", kPrecious);  // no input's file: replaced, as asked
  ASSERT_EQ(link(QFile::encodeName(path("x.png")).constData(),
                 QFile::encodeName(path("y.png")).constData()),
            0);
  const Outcome run = canny({"--output-dir", ".", "x.pgm", "y.png", "q.pgm"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "canny: x.pgm: 'y.png' and './x.png' are the same file\n"
            "canny: 'y.png' and './y.png' are the same file\n");
  EXPECT_EQ(read("x.png"), kPrecious);
  EXPECT_EQ(drawnGray(QImage(path("q.png"))).bytes, edgesOf(pattern(16, 16), {}).bytes);
}

// Names are bytes: under the C locale too, those that are not UTF-8 are read, written and shown.
TEST_F(Files, NamesThatAreNotUtf8AreKeptByteForByte) {
  const QByteArray dir = QFile::encodeName(scratch.path()) + '/';
  ASSERT_EQ(link((dir + "in.pgm").constData(), (dir + "caf\xe9.pgm").constData()), 0);
  const auto readRaw = [](const QByteArray &name) {
    QFile file;
    const int descriptor = open(name.constData(), O_RDONLY);
    return file.open(descriptor, QIODevice::ReadOnly, QFile::AutoCloseHandle) ? file.readAll()
                                                                              : QByteArray();
  };
  // QProcess would pass the names as UTF-8: the child runs canny with the bytes itself.
  const auto run = [this](std::vector<const char *> arguments) {
    arguments.insert(arguments.begin(), CANNY_PATH);
    arguments.push_back(nullptr);
    return canny({}, {}, [arguments] {
      const char *environment[] = {"LC_ALL=C", nullptr};
      execve(CANNY_PATH, const_cast<char **>(arguments.data()), const_cast<char **>(environment));
    });
  };
  EXPECT_EQ(run({"caf\xe9.pgm", "out\xe9.pgm"}).status, 0);
  EXPECT_EQ(readRaw(dir + "out\xe9.pgm"), edges);
  EXPECT_EQ(run({"nul\xe9.pgm", "out.pgm"}).err,
            "canny: nul\\xe9.pgm: cannot read picture: cannot open: No such file or directory\n");
  const Outcome batch = run({"--output-dir", "d\xe9", "caf\xe9.pgm"});
  EXPECT_TRUE(batch.status == 0 && batch.err.isEmpty()) << batch.err.toStdString();
  EXPECT_EQ(drawnGray(QImage::fromData(readRaw(dir + "d\xe9/caf\xe9.png"))).bytes,
            edgesOf(pattern(16, 16), {}).bytes);
}

// Valid UTF-8 decodes as Qt decodes it; every other byte is carried alone; each name comes back.
TEST(FileNames, DecodeUtf8AndCarryEveryOtherByteBackWhole) {
  const std::pair<QByteArray, int> names[] = {
      // a name and how many of its bytes are carried
      {"caf\xc3\xa9 \xc2\x80\xdf\xbf \xe0\xa0\x80\xe2\x82\xac\xef\xbf\xbd "
       "\xf0\x90\x82\x80\xf4\x8f\xbf\xbf\x7f",
       0},
      {"caf\xe9\xff\x80.png", 3},
      {"\xc1\xbf\xe0\x9f\xbf\xf0\x8f\xbf\xbf", 9},  // too long for what they hold
      {"\xed\xa0\x80\xf4\x90\x80\x80\xf5\x80", 9},  // a surrogate, above U+10FFFF
      {"\xc3(\xe2\x82", 3},                         // cut short
  };
  for (const auto &[bytes, carried] : names) {
    const QString name = fileNameFromBytes(bytes);
    EXPECT_EQ(fileNameBytes(name), bytes);
    int escapes = 0;
    for (qsizetype at = 0; at < name.size(); ++at) escapes += escapedByte(name, at) >= 0;
    EXPECT_EQ(escapes, carried) << bytes.toHex().toStdString();
    EXPECT_TRUE(carried > 0 || name == QString::fromUtf8(bytes));
  }
}
