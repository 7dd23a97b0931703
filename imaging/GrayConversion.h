#pragma once
// paintGray()'s bytes computed straight from the picture's rows: no painter,
// no full-size intermediate picture, large pictures split over threads. The
// formats pictures are mostly decoded to are computed here; any other is drawn.
#include <QImage>

// Writes the gray picture of `picture` into `gray`: picture.height() rows of
// picture.width() bytes, back to back, byte for byte what paintGray() draws.
void convertToGray(const QImage &picture, uchar *gray);

// Whether `format` is computed here rather than drawn (for the tests).
bool convertsDirectly(QImage::Format format);

// The gray bytes of `width` opaque pixels (as RGB32 holds them) into `out`, as convertToGray()
// gives them for an RGB32 picture of more than one pixel. Only where convertsDirectly() says so
// of QImage::Format_RGB32.
void convertRgb32Row(const QRgb *pixels, uchar *out, int width);
