#include "tools/EdgeMap.h"

#include <cstring>
#include <new>

#include "imaging/GrayBitmap.h"
#include "tools/Failure.h"
#include "tools/PictureReading.h"
#include "tools/PictureWriting.h"

void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel,
                 const DetectorFunction &detector) {
  if (picture.bytes.empty()) return;  // a picture without pixels has no edges to find
  // Gray bytes drawn into a gray surface stay as they are, so the edge map is
  // the detector's over exactly these bytes.
  const QImage gray = grayBitmapOver(picture.bytes.data(), picture.width, picture.height);
  QString failure;
  const QImage edges = edgeMap(
      gray, EdgeSettings{options.t1, options.t2, options.sigma, options.steps}, &failure, detector);
  if (edges.isNull()) throw Failure{Failure::kRun, inputLabel, failure};
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(picture.bytes.data() + std::size_t(y) * std::size_t(picture.width),
                edges.constScanLine(y), std::size_t(picture.width));
}

void writeEdgeMapOf(const Options &options, const QString &input, const QString &output,
                    const DetectorFunction &detector) {
  const QString inputLabel = fileLabel(input, QStringLiteral("standard input"));
  try {
    GrayPicture picture = readGrayPicture(input, options.maxPixels);
    detectEdges(options, picture, inputLabel, detector);
    writeEdgeMap(picture, output, options.format);
  } catch (const std::bad_alloc &) {
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("out of memory for this picture")};
  }
}
