#pragma once
// The project's own reader for gray Netpbm pictures (P2 and P5): Qt's stops
// at 32767 pixels a side, this one at the pixel budget. Samples are scaled to
// 8 bits as Qt scales them, value x 255 / maxval truncated, so both give the
// same picture wherever Qt reads it.
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

struct NetpbmHeader {
  char type = 0;  // '1' to '6', as in "P5"
  QSize size;
  int maxval = 0;  // 1 for bitmaps
};

// Whether the first bytes are those of a Netpbm picture, "P1" to "P6".
bool isNetpbm(const QByteArray &firstBytes);
bool isGrayNetpbm(const NetpbmHeader &header);

// Reads the header up to its last whitespace, where the samples begin.
// False, with `why` set, when it is broken or its size does not fit an int.
bool readNetpbmHeader(QIODevice &device, NetpbmHeader *header, QString *why);

// Reads a P2 or P5 picture's samples after its header into an 8-bit gray
// image, reading no byte beyond them and at most `mostBytes` in all. A null
// image, with `why` set, when the data is short or broken.
QImage readGrayNetpbm(QIODevice &device, const NetpbmHeader &header, qint64 mostBytes,
                      QString *why);
