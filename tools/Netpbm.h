#pragma once
// Writing PGM, the tool's own format.
#include <QByteArray>

#include "tools/GrayPicture.h"

// The picture as a binary PGM (P5, maxval 255), any size including 0 x N.
// Written here rather than by QImageWriter, which loads every image plugin
// Qt has before it writes anything, a cost that dwarfs small pictures.
QByteArray binaryPgm(const GrayPicture &picture);
