#include "app/StringsTable.h"

#include <QCoreApplication>
#include <QTranslator>

bool installStringsTable(QTranslator &translator) {
  const QString table = QStringLiteral(":/i18n/strings_en.qm");
  if (!translator.load(table)) {
    qWarning("Strings table %s cannot be read; titles show their keys", qPrintable(table));
    return false;
  }
  return QCoreApplication::installTranslator(&translator);
}
