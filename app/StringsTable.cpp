#include "app/StringsTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installStringsTable(QTranslator &strings, QTranslator *qt, const QLocale &locale) {
  const QString folder = QStringLiteral(":/i18n");
  // The locale's languages in the user's order (de_DE, then de, ...); English,
  // which also spells out the titles' keys, where none of them has a table.
  if (!strings.load(locale, QStringLiteral("strings"), QStringLiteral("_"), folder) &&
      !strings.load(QStringLiteral("strings_en"), folder)) {
    qWarning("Strings table %s/strings_en.qm cannot be read; titles show their keys",
             qPrintable(folder));
    return false;
  }
  if (qt && qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  return QCoreApplication::installTranslator(&strings);
}
