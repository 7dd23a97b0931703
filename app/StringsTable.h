#pragma once
// The English strings table shipped inside the program (screen titles).
class QTranslator;

// Loads the table into `translator` and installs it in the application.
// False, after a one-line warning, when the table cannot be read.
bool installStringsTable(QTranslator &translator);
