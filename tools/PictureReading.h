#pragma once
#include <QString>

#include "tools/GrayPicture.h"

// Reads a picture file ("-" for standard input) into the detector's gray
// bytes: 8-bit gray pictures byte for byte, any other drawn into gray the way
// the application does. Throws a Failure naming the file when it cannot.
GrayPicture readGrayPicture(const QString &input);

// How the user knows a file in messages: its name, or "standard input/output".
QString fileLabel(const QString &name, const QString &dash);
