#pragma once
#include <QString>

#include "tools/GrayPicture.h"

// Reads a picture file ("-" for standard input) into the detector's gray
// bytes by drawing it into 8-bit gray the way the application does, which
// leaves an 8-bit gray picture's bytes as they are. Pictures of more than
// `maxPixels` are refused from their header. Throws a Failure naming the
// file when it cannot. `picture`'s memory is reused where it is large enough.
void readGrayPicture(const QString &input, qint64 maxPixels, GrayPicture &picture);
