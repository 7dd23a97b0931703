#pragma once
// The one way this program turns a picture into the detector's 8-bit gray
// bytes: a gray QImage over caller memory, exactly `width` bytes a row, and
// the picture drawn into it as QPainter draws it at its pixel size.
#include <QImage>

// A Format_Grayscale8 image that uses `data` (width * height bytes) as its
// pixels. The caller keeps ownership of the memory.
QImage grayBitmapOver(uchar *data, int width, int height);

// Clears the bitmap to black (what transparent parts of a picture become),
// then draws `picture` into it unscaled at (0, 0). A bitmap of the picture's
// size over tight rows, as grayBitmapOver() makes, gets the same bytes
// computed straight from the picture's rows (imaging/GrayConversion).
void drawGray(const QImage &picture, QImage &grayBitmap);

// drawGray() through QPainter alone: what the direct computation must equal.
void paintGray(const QImage &picture, QImage &grayBitmap);
