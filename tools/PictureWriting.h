#pragma once
#include <QByteArray>
#include <QString>

#include "tools/GrayPicture.h"

// Writes the edge map as an 8-bit gray picture in Qt's `format` to `output`
// ("-" for standard output). A file is replaced only once the whole picture
// is written; on failure an existing file stays as it was. Throws a Failure
// naming the output when it cannot.
void writeEdgeMap(const GrayPicture &edges, const QString &output, const QByteArray &format);
