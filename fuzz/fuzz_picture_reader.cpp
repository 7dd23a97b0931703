// The picture-reading layer on any bytes at all, through readPicture, the one
// function the tool and the application read with, within a budget of 4
// megapixels so that every input stays quick. The input is the file itself.
// It is read twice: from a seekable buffer, as a file is, and from a
// sequential device handing out a few bytes at a time, as a pipe does.
// Checks, on every input:
// - no access outside a buffer (AddressSanitizer), no undefined behaviour,
//   no abort, no hang (libFuzzer's -timeout);
// - a picture that comes back has the size the reading declares (the tool
//   sizes its gray buffer by it), within the budget, and is drawn gray by
//   drawGray as the tool draws it; every byte of the picture and of the gray
//   drawing is read, so that a sanitizer sees what is out of bounds or unset;
// - a refusal says why, in one line;
// - the stream gives the same answer as the file: a picture in both or in
//   neither, and then the same gray bytes. Each read fills the memory it
//   takes with a byte of its own (as glibc's MALLOC_PERTURB_ does), so a
//   picture with bytes no decoder wrote comes out different from the two.
// Qt's decoders are not instrumented, so besides the coverage of our own code
// the fuzzer is steered by what they say: each distinct message, reason and
// kind of picture, and the bytes an input spends a pixel (a truncated file
// spends fewer), count as features of their own.
#include <sanitizer/allocator_interface.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/GrayBitmap.h"
#include "imaging/PictureReader.h"
#include "imaging/PixelBudget.h"

namespace {

// libFuzzer reads this section as counters beside its own coverage.
__attribute__((section("__libfuzzer_extra_counters"))) std::uint8_t outcomes[1 << 14];
void count(std::size_t key) { ++outcomes[key % sizeof outcomes]; }

// What fresh memory is filled with while a read runs; 0 for nothing.
std::uint8_t heapFill = 0;
void fillFresh(const volatile void *memory, std::size_t size) {
  if (heapFill) std::memset(const_cast<void *>(memory), heapFill, size);
}
void freed(const volatile void *) {}

constexpr qint64 kFuzzMaxPixels = 4'000'000;

// Bytes as a pipe gives them: no seeking, no size, and short reads.
class SequentialBytes : public QIODevice {
 public:
  explicit SequentialBytes(QByteArray bytes) : _bytes(std::move(bytes)) {
    open(QIODevice::ReadOnly);
  }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char *data, qint64 maxSize) override {
    constexpr qint64 kMostAtOnce = 1000;
    const qint64 count = qMin(qMin(maxSize, kMostAtOnce), qint64(_bytes.size()) - _at);
    if (count <= 0) return _at < _bytes.size() ? 0 : -1;
    std::memcpy(data, _bytes.constData() + _at, std::size_t(count));
    _at += count;
    return count;
  }
  qint64 writeData(const char *, qint64) override { return -1; }

 private:
  QByteArray _bytes;
  qint64 _at = 0;
};

[[noreturn]] void fail(const char *what) {
  std::fprintf(stderr, "fuzz_picture_reader: %s\n", what);
  std::abort();
}

// A sum over every byte, branched on, so that a read of unset memory counts
// as a use.
void touch(const uchar *bytes, qsizetype count) {
  unsigned sum = 0;
  for (qsizetype i = 0; i < count; ++i) sum += bytes[i];
  if (sum == 0xffffffffu) std::fputc('\0', stderr);
}

// The gray bytes the tool would hand the detector; empty when there is no picture.
std::vector<uchar> readGray(QIODevice &device, qint64 inputSize) {
  const PictureReading reading = readPicture(
      device, PictureRequest{kFuzzMaxPixels, false, nullptr, true});  // as the tool reads
  const qint64 pixels = qMax<qint64>(1, qint64(reading.picture.width()) * reading.picture.height());
  count(qHash(reading.why) ^ std::size_t(reading.picture.format()) << 8 ^
        std::size_t(std::bit_width(std::uint64_t(inputSize * 16 / pixels))));
  if (reading.picture.isNull()) {
    if (reading.why.isEmpty() && !(reading.size.isValid() && reading.size.isEmpty()))
      fail("no picture and no reason given");
    if (reading.why.contains('\n')) fail("a reason of more than one line");
    return {};
  }
  const QImage &picture = reading.picture;
  if (reading.size != picture.size()) fail("the picture's size is not the size it declares");
  if (qint64(picture.width()) * picture.height() > kFuzzMaxPixels) fail("over the budget");
  touch(picture.constBits(), picture.sizeInBytes());

  std::vector<uchar> gray(std::size_t(picture.width()) * std::size_t(picture.height()));
  QImage bitmap = grayBitmapOver(gray.data(), picture.width(), picture.height());
  drawGray(picture, bitmap);
  touch(gray.data(), qsizetype(gray.size()));
  return gray;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &message) { count(qHash(message)); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  static QCoreApplication app(*argc, *argv);  // as the tool runs: plugins found the same way
  qInstallMessageHandler(quiet);
  applyPixelBudget(kFuzzMaxPixels);
  __sanitizer_install_malloc_and_free_hooks(fillFresh, freed);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  QByteArray fileBytes = bytes;
  QBuffer file(&fileBytes);
  file.open(QIODevice::ReadOnly);
  heapFill = 0x55;
  const std::vector<uchar> fromFile = readGray(file, qint64(size));
  SequentialBytes pipe(bytes);
  heapFill = 0xaa;
  const std::vector<uchar> fromPipe = readGray(pipe, qint64(size));
  heapFill = 0;
  if (fromFile != fromPipe)
    fail("the file and the stream read differently: unset memory read, or a stream misread");
  return 0;
}
