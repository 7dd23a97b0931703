#include "tools/PictureWriting.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

#include "tools/Failure.h"
#include "tools/Netpbm.h"

namespace {

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
  const QImage image(edges.bytes.data(), edges.width, edges.height, edges.width,
                     QImage::Format_Grayscale8);
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image))
    throw Failure{Failure::kRun, label,
                  "cannot write as " + QString::fromLatin1(format) + ": " + writer.errorString()};
  return encoded;
}

void writeToStandardOutput(const QByteArray &encoded, const QString &label) {
  QFile out;
  if (!out.open(stdout, QIODevice::WriteOnly) || out.write(encoded) != encoded.size() ||
      !out.flush())
    throw Failure{Failure::kRun, label, "cannot write: " + out.errorString()};
}

void replaceFile(const QByteArray &encoded, const QString &output) {
  QSaveFile file(output);
  if (!file.open(QIODevice::WriteOnly))
    throw Failure{Failure::kRun, output, "cannot create: " + file.errorString()};
  if (file.write(encoded) != encoded.size() || !file.commit())
    throw Failure{Failure::kRun, output, "cannot write: " + file.errorString()};
}

}  // namespace

void writeEdgeMap(const GrayPicture &edges, const QString &output, const QByteArray &format) {
  const QString label = fileLabel(output, QStringLiteral("standard output"));
  const QByteArray encoded = encode(edges, format, label);
  if (output == QLatin1String("-"))
    writeToStandardOutput(encoded, label);
  else
    replaceFile(encoded, output);
}
