#include "imaging/PictureReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <cstdlib>
#include <limits>

#include "imaging/FileNames.h"
#include "imaging/ImagingText.h"
#include "imaging/JpegGray.h"
#include "imaging/NetpbmReader.h"
#include "imaging/PictureHeader.h"

// Naming the format spares Qt probing the content with every image plugin it has.
QByteArray pictureFormatByContent(const QByteArray &first) {
  if (isNetpbm(first)) return "ppm";
  if (first.startsWith("\x89PNG\r\n\x1a\n")) return "png";
  if (first.startsWith("\xff\xd8\xff")) return "jpeg";
  if (first.startsWith("BM")) return "bmp";
  if (first.startsWith("GIF87a") || first.startsWith("GIF89a")) return "gif";
  if (first.startsWith("II*") || first.startsWith(QByteArrayView("MM\0*", 4))) return "tiff";
  if (first.startsWith("RIFF") && first.mid(8, 4) == "WEBP") return "webp";
  return {};
}

namespace {

PictureReading refused(const QString &why) {
  PictureReading reading;
  reading.why = why;
  return reading;
}

PictureReading overBudget(QSize size, qint64 maxPixels) {
  PictureReading reading =
      refused(ImagingText::tr("%1 x %2 pixels is more than the budget of %3 pixels")
                  .arg(size.width())
                  .arg(size.height())
                  .arg(maxPixels));
  reading.size = size;
  reading.overBudget = true;
  return reading;
}

// Netpbm pictures are read by our own reader whatever their size, once their
// header passed the budget.
PictureReading readNetpbm(QIODevice &device, const PictureRequest &request) {
  NetpbmHeader header;
  PictureReading reading;
  if (!readNetpbmHeader(device, &header, &reading.why)) return reading;
  reading.size = header.size;
  if (!withinPixelBudget(header.size, request.maxPixels))
    return overBudget(header.size, request.maxPixels);
  if (header.size.isEmpty()) {  // well formed, and nothing to decode
    reading.why = ImagingText::tr("the picture has no pixels");
    return reading;
  }
  reading.picture = readNetpbmPixels(device, header, &reading.why);
  return reading;
}

// A sequential device other than a file says -1 when read past its end (a
// socket, a process); a file says so only on a real error.
bool endOfStream(QIODevice &device) {
  const auto *file = qobject_cast<QFileDevice *>(&device);
  return device.isSequential() && (!file || file->error() == QFileDevice::NoError);
}

// The most bytes a picture of `size` plausibly takes: uncompressed, plus metadata.
qint64 plausibleBytes(QSize size, qint64 mostBytes) {
  return qMin(mostBytes,
              qint64(size.width()) * size.height() * kMostBytesPerPixel + mostStreamBytes(0));
}

// Gathers the file's bytes, judging its header as soon as the first bytes hold it: a picture over
// the budget, a broken header or a file shorter than its header declares is refused at once, and
// no more is read than the declared picture can take.
PictureReading gather(QIODevice &device, const QByteArray &format, const PictureRequest &request,
                      QByteArray *bytes, PictureHeader *header) {
  qint64 most = mostStreamBytes(request.maxPixels);
  const qint64 fileSize = device.isSequential() ? -1 : device.size() - device.pos();
  header->state = format.isEmpty() ? PictureHeader::State::Sound : PictureHeader::State::NeedMore;
  for (qint64 chunk = 4096;; chunk = qMin<qint64>(chunk * 2, 1 << 20)) {
    const bool ended = device.atEnd() && !device.isSequential();
    if (header->state == PictureHeader::State::NeedMore) {
      *header = readPictureHeader(format, *bytes);
      if (header->state == PictureHeader::State::Broken)
        return refused(ImagingText::tr("the data is damaged: %1").arg(header->why));
      if (header->state == PictureHeader::State::Sound) {
        if (!withinPixelBudget(header->size, request.maxPixels))
          return overBudget(header->size, request.maxPixels);
        if (fileSize >= 0 && fileSize < header->leastBytes)
          return refused(ImagingText::tr("the data is truncated"));
        most = plausibleBytes(header->size, most);
        if (header->mostBytes >= 0) most = qMin(most, header->mostBytes);
        if (header->mostBytes >= 0) bytes->truncate(qMin<qint64>(bytes->size(), most));
      }
    }
    const qint64 room = most - bytes->size();
    if (room < 0)
      return refused(ImagingText::tr("more data than a picture within the budget can hold"));
    // Where the format says where the picture ends, no byte past it is read; else one more than
    // the most it may take, to tell a stream too long.
    const qint64 want = qMin(chunk, header->mostBytes >= 0 ? room : room + 1);
    if (ended || want == 0) break;
    const qint64 size = bytes->size();
    if (bytes->capacity() < size + want) bytes->reserve(qMax(size + want, 2 * bytes->capacity()));
    bytes->resize(size + want);
    const qint64 got = device.read(bytes->data() + size, want);
    bytes->resize(size + qMax<qint64>(got, 0));
    if (got < 0 && !endOfStream(device)) return refused(device.errorString());
    if (got <= 0) {
      if (header->state == PictureHeader::State::NeedMore || bytes->size() < header->leastBytes)
        return refused(ImagingText::tr("the data is truncated"));
      break;
    }
    // A stream that has gone wrong, such as one running on with zeros, is refused as it comes.
    if (device.isSequential() && header->state == PictureHeader::State::Sound) {
      bool damaged = false;
      if (const QString fault = pictureDataFault(format, *bytes, &damaged); damaged)
        return refused(fault);
    }
  }
  if (header->state == PictureHeader::State::NeedMore)
    return refused(ImagingText::tr("the data is truncated"));
  return {};
}

// A picture for the decoder to fill, over picture memory (imaging/PictureMemory): the caller's
// block, or one the picture frees. Null when there is no memory for it.
QImage blankPicture(QSize size, QImage::Format format, PictureBlock *memory) {
  const qint64 bitsPerLine = qint64(size.width()) * QImage::toPixelFormat(format).bitsPerPixel();
  const qint64 bytesPerLine = (bitsPerLine + 31) / 32 * 4;  // as QImage aligns its rows
  const qint64 bytes = bytesPerLine * size.height();
  if (bytesPerLine > std::numeric_limits<int>::max() || bytes <= 0) return {};
  if (memory) {
    uchar *block = memory->reserve(std::size_t(bytes));
    return block ? QImage(block, size.width(), size.height(), bytesPerLine, format) : QImage();
  }
  auto *block = static_cast<uchar *>(allocatePictureMemory(std::size_t(bytes)));
  return block ? QImage(
                     block, size.width(), size.height(), bytesPerLine, format,
                     [](void *memory) { std::free(memory); }, block)
               : QImage();
}

// A JPEG decoded straight to its gray bytes; null where it must be decoded the usual way, which
// also reports whatever is wrong with it.
QImage jpegGray(const QByteArray &bytes, QSize size, const PictureRequest &request) {
  if (!request.grayOnly || request.upright || !size.isValid() ||
      !pictureDataFault("jpeg", bytes).isEmpty())
    return {};
  QImage gray = blankPicture(size, QImage::Format_Grayscale8, request.memory);
  return !gray.isNull() && decodeJpegGray(bytes, size, gray.bits(), gray.bytesPerLine()) ? gray
                                                                                         : QImage();
}

// Decodes into a picture filled beforehand where Qt's decoder reuses it (same size and format),
// so that rows a decoder leaves unset, as an RLE BMP that ends early, hold a defined value.
PictureReading decode(QByteArray &bytes, const QByteArray &format, const PictureHeader &header,
                      const PictureRequest &request) {
  if (format == "jpeg")
    if (QImage gray = jpegGray(bytes, header.size, request); !gray.isNull())
      return {gray, gray.size(), {}, false, {}};
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(format.isEmpty());
  reader.setAutoTransform(request.upright);
  QSize size = header.size;
  if (!size.isValid()) {  // a format only Qt knows: its own idea of the size
    size = reader.size();
    if (size.isValid() && !withinPixelBudget(size, request.maxPixels))
      return overBudget(size, request.maxPixels);
  }
  PictureReading reading;
  // Kept as a number: Qt's JPEG plugin leaves it unset when libjpeg refuses the header.
  const int decodedFormat = reader.imageFormat();
  if (size.isValid() && !size.isEmpty() && decodedFormat > QImage::Format_Invalid &&
      decodedFormat < QImage::NImageFormats) {
    reading.picture = blankPicture(size, QImage::Format(decodedFormat), request.memory);
    if (reading.picture.isNull()) return refused(ImagingText::tr("out of memory"));
    // libjpeg writes every row, even of damaged data (gray, with a warning): filling first
    // would only touch every page twice.
    if (format != "jpeg") reading.picture.fill(0);
  }
  const bool read = reader.read(&reading.picture);
  const QString fault = pictureDataFault(format, bytes);
  if (!read || reading.picture.isNull()) {
    reading.picture = QImage();
    reading.why = reader.errorString();
    reading.fault = fault.isEmpty() ? ImagingText::tr("the data is damaged") : fault;
    if (reading.why.isEmpty()) reading.why = reading.fault;
  } else if (!fault.isEmpty()) {
    reading.picture = QImage();
    reading.why = reading.fault = fault;
  } else if (!withinPixelBudget(reading.picture.size(), request.maxPixels)) {
    return overBudget(reading.picture.size(), request.maxPixels);
  }
  if (!reading.picture.isNull()) reading.size = reading.picture.size();
  return reading;
}

// Where nothing could be read at all: the system's reason (such as a folder), else empty.
QString nothingRead(QIODevice &device) {
  const auto *file = qobject_cast<QFileDevice *>(&device);
  return file && file->error() != QFileDevice::NoError ? file->errorString()
                                                       : ImagingText::tr("empty file");
}

}  // namespace

PictureReading readPicture(QIODevice &device, const PictureRequest &request) {
  const QByteArray first = device.peek(16);
  if (first.isEmpty()) return refused(nothingRead(device));
  const QByteArray format = pictureFormatByContent(first);
  if (format.isEmpty() && device.isSequential())
    return refused(ImagingText::tr("not a picture in a format this program reads"));

  if (format == "ppm") return readNetpbm(device, request);

  QByteArray bytes;
  PictureHeader header;
  PictureReading gathered = gather(device, format, request, &bytes, &header);
  if (!gathered.why.isEmpty()) return gathered;
  return decode(bytes, format, header, request);
}

PictureReading readPicture(const QString &path, const PictureRequest &request) {
  QFile file;
  if (const QString why = openForReading(file, path); !why.isEmpty()) return refused(why);
  return readPicture(file, request);
}

QString unreadReason(const PictureReading &reading) {
  if (reading.why.contains(reading.fault)) return reading.why;
  return reading.why + QStringLiteral(" (") + reading.fault + ')';
}
