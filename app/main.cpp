// Canny Demo: starts the application, hands launch to the delegate and runs
// the event loop until the window closes.
#include <QApplication>
#include <QCommandLineParser>
#include <QTranslator>
#include <cstdio>

#include "app/AppDelegate.h"
#include "app/StringsTable.h"
#include "imaging/PixelBudget.h"

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Canny Demo"));
  QApplication::setApplicationVersion(QStringLiteral(CANNY_DEMO_VERSION));

  // Before the options are read, so that --help speaks the user's language too.
  QTranslator strings, qtStrings;
  installStringsTable(strings, &qtStrings);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QCoreApplication::translate("main", "Canny edge detection on still pictures."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      QStringLiteral("picture"),
      QCoreApplication::translate("main", "A picture to open in the camera tab."),
      QCoreApplication::translate("main", "[picture]"));
  parser.process(application);  // exits with a message on an unknown option

  // Qt's own decoding limit gives way to the budget the command-line tool keeps.
  applyPixelBudget(kDefaultMaxPixels);

  AppDelegate delegate;
  delegate.didFinishLaunchingWithOptions({});
  if (!parser.positionalArguments().isEmpty()) {
    const QString error = delegate.openPictureFile(parser.positionalArguments().first());
    if (!error.isEmpty()) std::fprintf(stderr, "canny-demo: %s\n", qPrintable(error));
  }
  return application.exec();
}
