#pragma once
// The strings tables shipped inside the program: every text the window shows,
// in the language of the system's locale where there is a table for it, in
// English otherwise.
#include <QLocale>

class QTranslator;

// Loads the table for `locale` (English where there is none for it) into
// `strings` and Qt's own texts (dialogs, standard buttons) for it into `qt`,
// where installed, and installs them in the application. False, after a
// one-line warning, when no table can be read.
bool installStringsTable(QTranslator &strings, QTranslator *qt = nullptr,
                         const QLocale &locale = QLocale());
