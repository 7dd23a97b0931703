#pragma once
// Qt's own messages (libpng's warnings, the image readers') would add lines
// to standard error; they are collected instead, to explain a failure in
// the tool's single error line or to reveal damaged data.
#include <QStringList>

void collectQtMessages();

// The messages collected since the previous call.
QStringList takeQtMessages();
