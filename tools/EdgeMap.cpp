#include "tools/EdgeMap.h"

#include <new>

#include "engine/cannyEdgeDetector.h"
#include "tools/Failure.h"
#include "tools/PictureReading.h"
#include "tools/PictureWriting.h"

void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel) {
  if (!tryCannyEdgeDetector(options.t1, options.t2, options.sigma, options.steps, picture.width,
                            picture.height, picture.bytes.data()))
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("not enough memory to detect edges")};
}

void writeEdgeMapOf(const Options &options, const QString &input, const QString &output) {
  const QString inputLabel = fileLabel(input, QStringLiteral("standard input"));
  try {
    GrayPicture picture = readGrayPicture(input, options.maxPixels);
    detectEdges(options, picture, inputLabel);
    writeEdgeMap(picture, output, options.format);
  } catch (const std::bad_alloc &) {
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("out of memory for this picture")};
  }
}
