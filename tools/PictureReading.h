#pragma once
#include <QString>

#include "tools/GrayPicture.h"

// Reads a picture file ("-" for standard input) into the detector's gray
// bytes by drawing it into 8-bit gray the way the application does, which
// leaves an 8-bit gray picture's bytes as they are. Pictures of more than
// `maxPixels` are refused from their header. Throws a Failure naming the
// file when it cannot. `picture`'s memory, and `decoded` (if given) for the decoded picture,
// are reused where they are large enough; without `decoded` the decoded picture is freed once
// read.
void readGrayPicture(const QString &input, qint64 maxPixels, GrayPicture &picture,
                     PictureBlock *decoded);
