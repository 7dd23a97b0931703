#include "tools/PictureReading.h"

#include <QFile>
#include <QImage>
#include <new>

#include "imaging/DecoderMessages.h"
#include "imaging/FileNames.h"
#include "imaging/GrayBitmap.h"
#include "imaging/PictureReader.h"
#include "imaging/StandardErrorCapture.h"
#include "tools/Failure.h"
#include "tools/QtMessages.h"
#include "tools/StandardStreams.h"

namespace {

// libjpeg fills in data that is missing or broken with gray, and only warns.
QString damageReported(const QStringList &qtSaid) {
  for (const QString &said : qtSaid)
    if (said.startsWith(QLatin1String("Premature end of JPEG file")) ||
        said.startsWith(QLatin1String("Corrupt JPEG data")))
      return said;
  return {};
}

// Qt opens every TIFF under the name "foo", which libtiff puts before its messages.
QString withoutQtsTiffName(QString line) { return line.remove(QLatin1String("foo: ")); }

// Reads the picture, with what its decoder printed rather than told Qt.
PictureReading readInput(const QString &input, const PictureRequest &request, QByteArray *printed) {
  QFile in;
  if (input != QLatin1String("-")) {
    if (const QString why = openForReading(in, input); !why.isEmpty())
      return {{}, {}, why, false, {}};
  } else if (standardStreamWasClosed(0) || !in.open(0, QIODevice::ReadOnly)) {
    return {{}, {}, QStringLiteral("is closed"), false, {}};
  }
  DecoderMessages decoder(in.peek(16));
  PictureReading reading = readPicture(in, request);
  *printed = decoder.finish();
  return reading;
}

}  // namespace

void readGrayPicture(const QString &input, qint64 maxPixels, GrayPicture &picture,
                     PictureBlock *decoded) {
  const QString label = fileLabel(input, QStringLiteral("standard input"));
  takeQtMessages();
  PictureReading reading;
  QByteArray decoderPrinted;
  try {
    reading = readInput(input, {maxPixels, false, decoded, true}, &decoderPrinted);
  } catch (const std::bad_alloc &) {
    reading.why = QStringLiteral("out of memory");
  }
  const QString printed = StandardErrorCapture::lastLine(decoderPrinted);
  const QStringList qtSaid = takeQtMessages();

  if (reading.overBudget)
    throw Failure{Failure::kRun, label, reading.why + " (--max-pixels raises it)"};
  const bool noPixels = reading.size.isValid() && reading.size.isEmpty();
  if (reading.picture.isNull() && !noPixels) {
    // The libraries' own words say more than Qt's summary, unless memory ran out.
    const bool memory = reading.why == QLatin1String("out of memory");
    const QString why = memory || (printed.isEmpty() && qtSaid.isEmpty()) ? reading.why
                        : !printed.isEmpty()                              ? printed
                                                                          : qtSaid.last();
    reading.why = withoutQtsTiffName(why);
    throw Failure{Failure::kRun, label, "cannot read picture: " + unreadReason(reading)};
  }
  if (const QString damage = damageReported(qtSaid); !damage.isEmpty())
    throw Failure{Failure::kRun, label, "damaged picture: " + damage};

  if (noPixels) {
    picture.width = reading.size.width();
    picture.height = reading.size.height();
    picture.bytes.clear();
    return;
  }
  picture.width = reading.picture.width();
  picture.height = reading.picture.height();
  picture.bytes.resize(std::size_t(picture.width) * std::size_t(picture.height));
  QImage bitmap = grayBitmapOver(picture.bytes.data(), picture.width, picture.height);
  drawGray(reading.picture, bitmap);
}
