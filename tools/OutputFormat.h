#pragma once
#include <QByteArray>
#include <QString>

// The names accepted for the output format (file extensions and --format
// values), for the help text.
QString outputFormatNames();

// Qt's writer format for `--format` if given, else for OUTPUT's extension,
// else PGM when OUTPUT is standard output. Throws a usage Failure otherwise.
QByteArray chooseOutputFormat(const QString &formatOption, const QString &output);
