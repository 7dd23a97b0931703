#include "imaging/PictureReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <optional>
#include <utility>

#include "imaging/FileNames.h"
#include "imaging/NetpbmReader.h"

namespace {

// Formats told by their first bytes. Naming the format spares Qt probing the
// content with every image plugin it has.
QByteArray formatByContent(const QByteArray &first) {
  if (isNetpbm(first)) return "ppm";
  if (first.startsWith("\x89PNG\r\n\x1a\n")) return "png";
  if (first.startsWith("\xff\xd8\xff")) return "jpeg";
  if (first.startsWith("BM")) return "bmp";
  if (first.startsWith("GIF87a") || first.startsWith("GIF89a")) return "gif";
  if (first.startsWith("II*") || first.startsWith(QByteArrayView("MM\0*", 4))) return "tiff";
  if (first.startsWith("RIFF") && first.mid(8, 4) == "WEBP") return "webp";
  return {};
}

PictureReading overBudget(QSize size, qint64 maxPixels) {
  return {{},
          size,
          QStringLiteral("%1 x %2 pixels is more than the budget of %3 pixels")
              .arg(size.width())
              .arg(size.height())
              .arg(maxPixels),
          true};
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
    reading.why = QStringLiteral("the picture has no pixels");
    return reading;
  }
  reading.picture = readNetpbmPixels(device, header, &reading.why);
  return reading;
}

// Qt probes the content with each of its plugins where the format is not known.
PictureReading readWithQt(QIODevice &device, const QByteArray &format,
                          const PictureRequest &request) {
  QImageReader reader(&device, format);
  reader.setAutoDetectImageFormat(format.isEmpty());
  reader.setAutoTransform(request.upright);
  PictureReading reading;
  reading.size = reader.size();  // from the header; invalid where the format cannot tell
  if (reading.size.isValid() && !withinPixelBudget(reading.size, request.maxPixels))
    return overBudget(reading.size, request.maxPixels);
  const QImage::Format decodedFormat = reader.imageFormat();
  reading.picture = reader.read();
  if (reading.picture.isNull()) {
    // Qt says only that it could not read the data when memory ran out.
    const bool roomForIt = !reading.size.isValid() || !QImage(reading.size, decodedFormat).isNull();
    reading.why = roomForIt ? reader.errorString() : QStringLiteral("out of memory");
  }
  return reading;
}

// What a stream holds, up to the most a picture within the budget can take.
bool readStream(QIODevice &device, qint64 mostBytes, QByteArray *bytes, QString *why) {
  constexpr qint64 kChunk = 1 << 20;
  QByteArray chunk(kChunk, Qt::Uninitialized);
  for (qint64 got; (got = device.read(chunk.data(), kChunk)) > 0;) {
    if (bytes->size() + got > mostBytes) {
      *why = QStringLiteral("more data than a picture within the budget can hold");
      return false;
    }
    bytes->append(chunk.constData(), got);
  }
  if (bytes->isEmpty()) *why = QStringLiteral("empty file");
  return why->isEmpty();
}

}  // namespace

PictureReading readPicture(QIODevice &device, const PictureRequest &request) {
  const QByteArray first = device.peek(16);
  if (first.isEmpty()) return {{}, {}, QStringLiteral("empty file"), false};
  const QByteArray format = formatByContent(first);
  if (format.isEmpty() && device.isSequential())
    return {{}, {}, QStringLiteral("not a picture in a format this program reads"), false};

  if (format == "ppm") return readNetpbm(device, request);
  if (!device.isSequential()) return readWithQt(device, format, request);

  // Qt's readers want to look back, so a stream is gathered first.
  QByteArray bytes;
  PictureReading reading;
  if (!readStream(device, mostStreamBytes(request.maxPixels), &bytes, &reading.why)) return reading;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return readPicture(buffer, request);
}

PictureReading readPicture(const QString &path, const PictureRequest &request) {
  QFile file;
  if (const QString why = openForReading(file, path); !why.isEmpty()) return {{}, {}, why, false};
  return readPicture(file, request);
}
