#pragma once
// The one way this program reads a picture file: the format is told from the
// first bytes, the size from the header and checked against the pixel budget
// before any pixel is decoded, and no more is read than the picture needs.
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

#include "imaging/PictureMemory.h"
#include "imaging/PixelBudget.h"

struct PictureRequest {
  qint64 maxPixels = kDefaultMaxPixels;
  bool upright = false;  // turn the picture as its metadata says it was shot
  // Where the decoder may put the pixels, kept by the caller from one picture to the next; the
  // picture read is valid until the block is reserved again. Else fresh memory of its own.
  PictureBlock *memory = nullptr;
  // Only the gray bytes drawGray() makes of the picture are wanted: where they can be had without
  // the colour picture (JPEG), the picture is an 8-bit gray one holding them.
  bool grayOnly = false;
};

// A well-formed picture of 0 pixels, such as Netpbm's 0 x 5, has no picture
// and an empty, valid size.
struct PictureReading {
  QImage picture;           // null when there is none
  QSize size;               // the size the picture declares, where it was read
  QString why;              // one line when there is no picture
  bool overBudget = false;  // refused for its size alone
  QString fault;            // where the data shows itself truncated or damaged, one line
};

// The format Qt knows by that name ("png", "jpeg", ...; "ppm" for every Netpbm form) that the
// first 16 bytes of a file show, or empty for one told otherwise.
QByteArray pictureFormatByContent(const QByteArray &first);

// Reads from `device`, open for reading: a file, or a stream such as a pipe,
// which is read no further than a picture within the budget can take.
PictureReading readPicture(QIODevice &device, const PictureRequest &request = {});

// Reads the file at `path`, a name as imaging/FileNames carries it.
PictureReading readPicture(const QString &path, const PictureRequest &request = {});

// Why there is no picture, in one line: the reader's reason and, where the
// data shows it, that the file is truncated or damaged.
QString unreadReason(const PictureReading &reading);
