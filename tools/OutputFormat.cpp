#include "tools/OutputFormat.h"

#include <QFileInfo>
#include <QStringList>
#include <array>
#include <utility>

#include "tools/Failure.h"

namespace {

// Formats whose Qt writer stores an 8-bit gray picture as gray.
constexpr std::array<std::pair<const char *, const char *>, 5> kFormats{{
    {"pgm", "pgm"},
    {"png", "png"},
    {"bmp", "bmp"},
    {"tif", "tiff"},
    {"tiff", "tiff"},
}};

bool isJpeg(const QString &name) {
  return name.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0;
}

QByteArray writerFormat(const QString &name) {
  for (const auto &[accepted, writer] : kFormats)
    if (name.compare(QLatin1String(accepted), Qt::CaseInsensitive) == 0) return writer;
  return {};
}

}  // namespace

QString outputFormatNames() {
  QStringList names;
  for (const auto &format : kFormats) names << QLatin1String(format.first);
  return names.join(QLatin1String(", "));
}

QByteArray chooseOutputFormat(const QString &formatOption, const QString &output) {
  const auto known = [](const QString &culprit, const QString &name) {
    // Even at its best quality JPEG blurs the two levels into many.
    if (isJpeg(name))
      throw Failure{Failure::kUsage, culprit,
                    QStringLiteral("JPEG would add gray levels to the edge map; write PNG or PGM")};
    const QByteArray format = writerFormat(name);
    if (format.isEmpty())
      throw Failure{
          Failure::kUsage, culprit,
          QStringLiteral("unknown output format '%1' (known: %2)").arg(name, outputFormatNames())};
    return format;
  };
  if (!formatOption.isNull()) return known(QStringLiteral("--format"), formatOption);
  if (output == QLatin1String("-")) return "pgm";
  const QString extension = QFileInfo(output).suffix();
  if (extension.isEmpty())
    throw Failure{Failure::kUsage, output,
                  QStringLiteral("no extension to tell the output format (use --format)")};
  return known(output, extension);
}
