#pragma once
// The camera dialog's way round a missing camera: a picture file instead.
#include <QImage>
#include <QString>

class QWidget;

// Asks the user for a picture file of any format Qt reads, with a file
// dialog over `parent`. Empty when the user cancels.
QString choosePictureFile(QWidget *parent);

// The picture in the file, turned upright where the file says how it was
// shot. A null image when it cannot be read; then `why` tells the user why.
QImage readPictureFile(const QString &path, QString *why);
