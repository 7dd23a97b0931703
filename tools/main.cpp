// canny: writes the Canny edge map of a picture file. Runs without a display:
// QCoreApplication is all QImage, QPainter on images and the readers need.
#include <QCoreApplication>
#include <cstdio>
#include <new>

#include "tools/EdgeMap.h"
#include "tools/Failure.h"
#include "tools/Options.h"
#include "tools/PictureReading.h"
#include "tools/PictureWriting.h"
#include "tools/QtMessages.h"

namespace {

void print(std::FILE *stream, const QString &text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

void run(const Options &options) {
  const QString inputLabel = fileLabel(options.input, QStringLiteral("standard input"));
  try {
    GrayPicture picture = readGrayPicture(options.input);
    detectEdges(options, picture, inputLabel);
    writeEdgeMap(picture, options.output, options.format);
  } catch (const std::bad_alloc &) {
    throw Failure{Failure::kRun, inputLabel, QStringLiteral("not enough memory for this picture")};
  }
}

// One line, whatever the reason's text holds.
int report(const Failure &failure) {
  QString line = QCoreApplication::applicationName() + ": ";
  if (!failure.culprit.isEmpty()) line += failure.culprit + ": ";
  print(stderr, line + failure.reason.simplified() + '\n');
  return failure.status;
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("canny"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CANNY_VERSION));
  collectQtMessages();
  try {
    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
    if (line.request != CommandLine::Request::Run) {
      print(stdout, line.text);
      return 0;
    }
    run(line.options);
    return 0;
  } catch (const Failure &failure) {
    return report(failure);
  }
}
