#pragma once
// The application's own picture files: a picture the user opens, and the
// shown edge map or stage saved as 8-bit gray.
#include <QImage>
#include <QString>

struct OpenedPicture {
  QImage image;   // null when the file could not be used
  QString error;  // one line naming the file and what was wrong
};

// Any picture the shared reader takes, refused before decoding when it is
// larger than the pixel budget.
OpenedPicture openPictureFile(const QString &path);

// Writes `gray` as 8-bit gray PNG or binary PGM, as the name's extension says;
// a name without one gets ".png".
// An existing file is replaced only once every byte is written. Returns the
// one-line error, empty on success.
QString saveGrayPicture(const QImage &gray, const QString &path);
