#include "tools/EdgeMap.h"

#include "engine/cannyEdgeDetector.h"
#include "tools/Failure.h"

void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel) {
  if (!tryCannyEdgeDetector(options.t1, options.t2, options.sigma, options.steps, picture.width,
                            picture.height, picture.bytes.data()))
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("not enough memory to detect edges")};
}
