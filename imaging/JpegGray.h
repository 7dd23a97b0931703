#pragma once
// JPEG files decoded straight to the gray bytes that drawGray() makes of Qt's decoding of them,
// a strip of rows at a time, without the full-size colour picture in between.
#include <QByteArray>
#include <QSize>
#include <QtGlobal>

// Decodes the JPEG file `bytes`, of `size` pixels, into `gray` (rows `stride` bytes apart), where
// this is known to give Qt's decoding drawn gray byte for byte: gray and YCbCr JPEGs, baseline or
// progressive, any sampling, larger than one pixel, decoded without a word from libjpeg. False
// otherwise, `gray` then undefined: the caller decodes as usual, which also says what libjpeg has
// to say.
bool decodeJpegGray(const QByteArray &bytes, QSize size, uchar *gray, qsizetype stride);
