#include "tools/EdgeMap.h"

#include <algorithm>

#include "engine/cannyEdgeDetector.h"
#include "tools/Failure.h"

void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel) {
  cannyEdgeDetector(options.t1, options.t2, options.sigma, options.steps, picture.width,
                    picture.height, picture.bytes.data());
  // A finished edge map holds only 0 and 255; anything else is the untouched
  // input of a detector that ran out of memory. (An input of only 0 and 255
  // cannot be told apart; with overcommitting systems that is rare anyway.)
  const bool finished = std::all_of(picture.bytes.begin(), picture.bytes.end(),
                                    [](std::uint8_t b) { return b == 0 || b == 255; });
  if (!finished)
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("not enough memory to detect edges")};
}
