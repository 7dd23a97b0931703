// canny: writes the Canny edge map of a picture file. Runs without a display:
// QCoreApplication is all QImage, QPainter on images and the readers need.
#include <QCoreApplication>
#include <cstdio>

#include "imaging/FileNames.h"
#include "imaging/PixelBudget.h"
#include "tools/Batch.h"
#include "tools/EdgeMap.h"
#include "tools/Failure.h"
#include "tools/Options.h"
#include "tools/QtMessages.h"
#include "tools/SameFile.h"
#include "tools/StandardStreams.h"

namespace {

void print(std::FILE *stream, const QString &text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// Control characters in a file name or a library's message would break the
// one line or drive the terminal; they are shown as escapes instead, and so
// are the bytes of a name that are not UTF-8.
QString escaped(const QString &text) {
  QString shown;
  for (qsizetype at = 0; at < text.size(); ++at) {
    const QChar c = text[at];
    if (const int byte = escapedByte(text, at); byte >= 0)
      shown += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    else if (c == u'\n')
      shown += QLatin1String("\\n");
    else if (c == u'\t')
      shown += QLatin1String("\\t");
    else if (c.category() == QChar::Other_Control)
      shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else
      shown += c;
  }
  return shown;
}

// One line, whatever the reason's text holds.
int report(const Failure &failure) {
  QString line = QCoreApplication::applicationName() + ": ";
  if (!failure.culprit.isEmpty()) line += escaped(failure.culprit) + ": ";
  print(stderr, line + escaped(failure.reason.trimmed()) + '\n');
  return failure.status;
}

}  // namespace

int main(int argc, char *argv[]) {
  guardStandardStreams();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("canny"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CANNY_VERSION));
  collectQtMessages();
  try {
    // Qt's arguments() would lose the bytes of names that are not UTF-8.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << fileNameFromBytes(argv[i]);
    const CommandLine line = parseCommandLine(arguments);
    if (line.request != CommandLine::Request::Run) {
      print(stdout, line.text);
      return 0;
    }
    applyPixelBudget(line.options.maxPixels);
    if (!line.options.outputDir.isNull()) return runBatch(line.options, report);
    refuseSameFile(line.options.input, line.options.output);
    writeEdgeMapOf(line.options, line.options.input, line.options.output, tryCannyEdgeDetector);
    return 0;
  } catch (const Failure &failure) {
    return report(failure);
  }
}
