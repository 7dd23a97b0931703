#pragma once
// The little of Netpbm that Qt does not do for this tool.
#include <QByteArray>
#include <QSize>
#include <optional>

#include "tools/GrayPicture.h"

// Qt refuses Netpbm files (P1 to P6) whose width or height is 0, yet such a
// file is well formed and its honest edge map is just as empty: their size.
std::optional<QSize> emptyNetpbmSize(const QByteArray &file);

// The picture as a binary PGM (P5, maxval 255), any size including 0 x N.
// Written here rather than by QImageWriter, which loads every image plugin
// Qt has before it writes anything, a cost that dwarfs small pictures.
QByteArray binaryPgm(const GrayPicture &picture);
