#pragma once
// The project's own reader for Netpbm pictures, every form P1 to P6, plain
// and raw, maxval 1 to 65535. It accepts what Netpbm's tools accept (comments
// wherever a blank may stand, P1 bits without blanks between them) and
// refuses what they refuse: samples above the maxval, P1 bits other than 0
// and 1, short data. Qt's reader stops at 32767 pixels a side and lets
// samples above the maxval wrap; wherever it reads a valid picture, this one
// gives the same QImage, format and pixels alike, so that the gray drawing
// gives the same bytes.
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

// Reads the header up to the single blank after its last number, where the
// samples begin. False, with `why` set, when it is broken or its size does
// not fit an int.
bool readNetpbmHeader(QIODevice &device, NetpbmHeader *header, QString *why);

// Reads the samples after the header, reading no byte beyond them: bitmaps
// as Format_Mono (0 white, 1 black), gray as Format_Grayscale8 (sample x 255
// / maxval, truncated), colour as Format_RGB32 (each sample scaled to 16
// bits, truncated, then rounded to 8 as QRgba64 does). A null image, with
// `why` set to one line (the row and column at fault, counted from 1), when
// the data is short, damaged or holds a sample above the maxval. A file too
// short for its raw samples is refused before the image is allocated.
QImage readNetpbmPixels(QIODevice &device, const NetpbmHeader &header, QString *why);
