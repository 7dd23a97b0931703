#pragma once
// What a picture file's first bytes declare, read by hand so that a size can
// be checked against the budget, and a broken or short file refused, before
// a decoder takes any memory or a stream is read further; and whether the
// whole file ends where its format says a picture ends, since Qt's decoders
// hand back partly invented pictures from truncated PNG, JPEG and GIF data.
#include <QByteArray>
#include <QSize>
#include <QString>

struct PictureHeader {
  enum class State { NeedMore, Broken, Sound };
  State state = State::NeedMore;
  QSize size;             // the picture's size once sound, both sides positive
  qint64 leastBytes = 0;  // the file is truncated when shorter
  qint64 mostBytes = -1;  // a stream is read no further; -1 when the format does not say
  QString why;            // one line when broken
};

// `format` is one of "png", "jpeg", "bmp", "gif", "tiff", "webp"; `first` is
// the file's first bytes, as many as there are so far.
PictureHeader readPictureHeader(const QByteArray &format, const QByteArray &first);

// Empty when the whole of `bytes` holds a picture to its end marker (PNG's
// IEND, JPEG's EOI, GIF's trailer); else one line saying it is truncated or
// damaged, and `*damaged` tells which (the line is in the reader's language).
QString pictureDataFault(const QByteArray &format, const QByteArray &bytes,
                         bool *damaged = nullptr);
