#pragma once
#include <QString>

#include "imaging/EdgeMap.h"
#include "tools/GrayPicture.h"
#include "tools/Options.h"

// Runs the detector over the picture in place with the options' values.
// Throws a Failure naming `input` if the detector could not get its working
// memory (it then leaves the bytes as they were).
void detectEdges(const Options &options, GrayPicture &picture, const QString &inputLabel,
                 const DetectorFunction &detector);

// One picture from start to end: reads `input`, detects its edges and writes
// the edge map to `output` in the options' format. Throws a Failure naming
// the file at fault; nothing is written then. `picture` holds the bytes meanwhile and `decoded`
// (if given) the decoded picture, so that a caller going through many pictures reuses their
// memory.
void writeEdgeMapOf(const Options &options, const QString &input, const QString &output,
                    const DetectorFunction &detector, GrayPicture &picture, PictureBlock *decoded);
void writeEdgeMapOf(const Options &options, const QString &input, const QString &output,
                    const DetectorFunction &detector);
