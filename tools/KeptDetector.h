#pragma once
// A detector that keeps its working memory from one picture to the next, in
// the form the picture code takes; one per thread.
#include "imaging/EdgeMap.h"

DetectorFunction keptDetector();
