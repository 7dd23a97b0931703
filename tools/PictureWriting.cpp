#include "tools/PictureWriting.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include "imaging/EdgePng.h"
#include "tools/Failure.h"
#include "tools/Netpbm.h"
#include "tools/OutputFile.h"

namespace {

// Qt's BMP writer leaves the bytes that pad each row to four bytes as it found
// them in memory; they are zeroed so that every run writes the same file.
void zeroBmpRowPadding(QByteArray &bmp) {
  constexpr int kHeaderBytes = 54;  // file header and BITMAPINFOHEADER
  if (bmp.size() < kHeaderBytes) return;
  const auto field = [&bmp](int at, auto type) {
    return qFromLittleEndian<decltype(type)>(bmp.constData() + at);
  };
  const qint64 dataAt = field(10, quint32());
  const qint64 width = field(18, qint32());
  const qint64 height = qAbs(field(22, qint32()));
  const qint64 rowBytes = (width * field(28, quint16()) + 7) / 8;
  const qint64 stride = (rowBytes + 3) / 4 * 4;
  for (qint64 row = 0; row < height; ++row) {
    const qint64 padding = dataAt + row * stride + rowBytes;
    if (padding + (stride - rowBytes) > bmp.size()) return;
    std::fill_n(bmp.data() + padding, stride - rowBytes, '\0');
  }
}

// Encoding into memory first means a picture Qt cannot write never touches
// the output file.
QByteArray encode(const GrayPicture &edges, const QByteArray &format, const QString &label) {
  if (format == "pgm") return binaryPgm(edges);
  if (edges.bytes.empty()) {
    throw Failure{Failure::kRun, label,
                  QStringLiteral("the edge map has no pixels (%1 x %2); only PGM can hold it")
                      .arg(edges.width)
                      .arg(edges.height)};
  }
  if (format == "png") {
    QByteArray png = encodeEdgePng(edges.bytes.data(), edges.width, edges.height, edges.width);
    if (png.isEmpty())
      throw Failure{Failure::kRun, label, QStringLiteral("cannot write as png: out of memory")};
    return png;
  }
  const QImage image(edges.bytes.data(), edges.width, edges.height, edges.width,
                     QImage::Format_Grayscale8);
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image))
    throw Failure{Failure::kRun, label,
                  "cannot write as " + QString::fromLatin1(format) + ": " + writer.errorString()};
  if (format == "bmp") zeroBmpRowPadding(encoded);
  return encoded;
}

}  // namespace

void writeEdgeMap(const GrayPicture &edges, const QString &output, const QByteArray &format) {
  writeOutputFile(encode(edges, format, fileLabel(output, QStringLiteral("standard output"))),
                  output);
}
