#include "tools/EdgeMap.h"

#include <new>

#include "tools/Failure.h"
#include "tools/PictureReading.h"
#include "tools/PictureWriting.h"

void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel,
                 const DetectorFunction &detector) {
  if (picture.bytes.empty()) return;  // a picture without pixels has no edges to find
  // The bytes are the gray picture's rows back to back, as the detector takes them.
  if (!detector(options.t1, options.t2, options.sigma, options.steps, picture.width, picture.height,
                picture.bytes.data()))
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("not enough memory to detect edges")};
}

void writeEdgeMapOf(const Options &options, const QString &input, const QString &output,
                    const DetectorFunction &detector, GrayPicture &picture, PictureBlock *decoded) {
  const QString inputLabel = fileLabel(input, QStringLiteral("standard input"));
  try {
    readGrayPicture(input, options.maxPixels, picture, decoded);
    detectEdges(options, picture, inputLabel, detector);
    writeEdgeMap(picture, output, options.format);
  } catch (const std::bad_alloc &) {
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("out of memory for this picture")};
  }
}

void writeEdgeMapOf(const Options &options, const QString &input, const QString &output,
                    const DetectorFunction &detector) {
  GrayPicture picture;
  // The decoded picture's memory is given back before the detector takes its own.
  writeEdgeMapOf(options, input, output, detector, picture, nullptr);
}
