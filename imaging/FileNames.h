#pragma once
// File names are bytes to the system and need not be UTF-8 (a name written
// under another locale, or by a program that does not care). They travel in
// QStrings here, decoded as UTF-8 where they are, with each byte that is not
// carried as a lone surrogate U+DC80 + byte, as Python's surrogateescape does,
// so that every name comes back to the very bytes it came from. Qt's own
// name conversions (QFile, QFileInfo, QDir, QSaveFile) would lose such bytes:
// names cross to the system only through these functions.
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringView>

QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameBytes(QStringView name);

// The byte a character stands for, or -1 when it is a character.
int escapedByte(QStringView name, qsizetype at);

// Opens the file `name` for reading into `file`. Returns an empty string, or
// why it could not: "is a folder", or "cannot open: " and the system's reason.
QString openForReading(QFile &file, const QString &name);
