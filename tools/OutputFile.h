#pragma once
// Putting finished bytes where the command line says, so that nothing is
// lost: a regular file is replaced only once every byte is safely on disk;
// devices, FIFOs, sockets and the descriptors named by /dev/stdout or
// /dev/fd/N are written directly and never unlinked, renamed over or made
// anew.
#include <QByteArray>
#include <QString>

// Writes `bytes` to `output` ("-" for standard output). Throws a Failure
// naming the output, with what the system said, when it cannot.
void writeOutputFile(const QByteArray &bytes, const QString &output);
