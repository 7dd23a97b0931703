#pragma once
// The camera tab's picture written to a file, so that the `canny` command its
// status line shows can be run on it and give the same edge map.
#include <QImage>
#include <QString>

// The folder the camera tab's pictures go to: "Canny Demo" in the user's
// pictures folder.
QString defaultShotFolder();

// Writes `picture` as a new PNG file in `folder` (made if need be) named after
// the time, and returns its path; empty, with `why` set, when it cannot.
QString writeShotFile(const QImage &picture, const QString &folder, QString *why);
