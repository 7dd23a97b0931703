#include "tools/Options.h"

#include <locale.h>  // newlocale
#include <stdlib.h>  // strtof_l
#include <QCommandLineParser>
#include <QCoreApplication>
#include <charconv>
#include <limits>

#include "tools/Failure.h"
#include "tools/OutputFormat.h"

namespace {

const QString kNotes = QStringLiteral(
    "\n"
    "T1, T2 and Sigma take any float (nan, inf and negative values included) and\n"
    "reach the detector unchanged; Steps is a whole number up to %2.\n"
    "Pictures of more than --max-pixels pixels (default %3) are refused from\n"
    "their header, before they are decoded.\n"
    "A gray 8-bit picture is used byte for byte; any other picture is first drawn\n"
    "into an 8-bit gray bitmap, as the application does.\n"
    "The edge map (0 and 255 only) is written as an 8-bit gray picture in the\n"
    "format of OUTPUT's extension, or of --format: %1.\n"
    "JPEG is refused: it would add gray levels. Devices, FIFOs and /dev/stdout\n"
    "are written directly; a file is replaced only once the whole edge map is\n"
    "safely written. An OUTPUT that is the same file as an INPUT is refused.\n"
    "INPUT '-' reads standard input; OUTPUT '-' writes standard output, as PGM\n"
    "unless --format says otherwise. For files named '-', write ./-\n"
    "With --output-dir, each INPUT's edge map is written to DIR/NAME.EXT (NAME\n"
    "the input's without its last extension, EXT the format's), several at once;\n"
    "an input that fails gets one line and the others are still done.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 wrong usage.\n");

// The shortest decimal that reads back as the default, for the help text.
QString shown(float value) { return QString::number(value); }

// Correctly rounded to float as C's strtof does (out-of-range values become
// infinities or zeros), but in the C locale whatever the user's locale says.
float parseFloat(const QString &option, const QString &text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  const QByteArray bytes = text.toUtf8();
  char *end = nullptr;
  const float value = strtof_l(bytes.constData(), &end, cLocale);
  if (bytes.isEmpty() || end != bytes.constData() + bytes.size())
    throw Failure{Failure::kUsage, option, QStringLiteral("'%1' is not a number").arg(text)};
  return value;
}

qint64 parseWhole(const QString &option, const QString &text, qint64 least, qint64 most) {
  QByteArray bytes = text.toUtf8();
  if (bytes.startsWith('+')) bytes.remove(0, 1);  // from_chars takes only '-'
  qint64 value = 0;
  const char *end = bytes.constData() + bytes.size();
  const auto [stop, error] = std::from_chars(bytes.constData(), end, value);
  if (bytes.isEmpty() || error != std::errc() || stop != end || value < least || value > most)
    throw Failure{
        Failure::kUsage, option,
        QStringLiteral("'%1' is not a whole number from %2 to %3").arg(text).arg(least).arg(most)};
  return value;
}

}  // namespace

CommandLine parseCommandLine(const QStringList &arguments) {
  const Options defaults;
  const auto valueOption = [](const char *name, const QString &what, const QString &fallback,
                              const char *valueName) {
    return QCommandLineOption(name, what + " (default " + fallback + ").", valueName);
  };
  const QCommandLineOption t1 = valueOption("t1", "Low threshold T1", shown(defaults.t1), "F");
  const QCommandLineOption t2 = valueOption("t2", "High threshold T2", shown(defaults.t2), "F");
  const QCommandLineOption sigma =
      valueOption("sigma", "Smoothing width Sigma", shown(defaults.sigma), "F");
  const QCommandLineOption steps =
      valueOption("steps", "Smoothing passes Steps", QString::number(defaults.steps), "N");
  const QCommandLineOption maxPixels = valueOption("max-pixels", "Largest picture read, in pixels",
                                                   QString::number(defaults.maxPixels), "N");
  const QCommandLineOption format("format", "Output format, whatever OUTPUT's extension says.",
                                  "FORMAT");
  const QCommandLineOption outputDir(
      "output-dir", "Writes DIR/NAME.EXT for every INPUT instead (format png by default).", "DIR");
  const QCommandLineOption jobs({"j", "jobs"},
                                "Pictures worked on at once with --output-dir (default: the CPUs "
                                "this process may use).",
                                "N");

  QCommandLineParser parser;
  parser.setApplicationDescription("Writes the Canny edge map of a picture.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addOptions({t1, t2, sigma, steps, maxPixels, format, outputDir, jobs});
  parser.addPositionalArgument("INPUT", "Picture to read, '-' for standard input.");
  parser.addPositionalArgument("OUTPUT", "Edge map to write, '-' for standard output.");

  if (!parser.parse(arguments))
    throw Failure{Failure::kUsage, {}, parser.errorText()};  // names the option

  CommandLine line;
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    line.request = CommandLine::Request::Help;
    // Qt's usage line names the program by the path it was started with.
    const QString name = QCoreApplication::applicationName();
    const QString usage = "Usage: " + name + " [options] INPUT OUTPUT\n" + "       " + name +
                          " [options] --output-dir DIR INPUT...\n";
    line.text = usage + parser.helpText().section('\n', 1) +
                kNotes.arg(outputFormatNames()).arg(kMostSteps).arg(kDefaultMaxPixels);
    return line;
  }
  if (parser.isSet(version)) {
    line.request = CommandLine::Request::Version;
    line.text =
        QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() + '\n';
    return line;
  }

  // Values first: an option that took a file name as its value is the culprit.
  Options &options = line.options;
  if (parser.isSet(t1)) options.t1 = parseFloat("--t1", parser.value(t1));
  if (parser.isSet(t2)) options.t2 = parseFloat("--t2", parser.value(t2));
  if (parser.isSet(sigma)) options.sigma = parseFloat("--sigma", parser.value(sigma));
  if (parser.isSet(steps))
    options.steps = std::int32_t(parseWhole("--steps", parser.value(steps),
                                            std::numeric_limits<std::int32_t>::min(), kMostSteps));
  if (parser.isSet(maxPixels))
    options.maxPixels = parseWhole("--max-pixels", parser.value(maxPixels), 0, kMostMaxPixels);
  if (parser.isSet(jobs))
    options.jobs = int(parseWhole("--jobs", parser.value(jobs), 1, kMostJobs));
  const QString formatName = parser.isSet(format) ? parser.value(format) : QString();
  if (!formatName.isNull()) chooseOutputFormat(formatName, QString());

  const QStringList files = parser.positionalArguments();
  if (parser.isSet(outputDir)) {
    options.outputDir = parser.value(outputDir);
    if (options.outputDir.isEmpty())
      throw Failure{Failure::kUsage, "--output-dir", QStringLiteral("names no folder")};
    if (files.isEmpty())
      throw Failure{Failure::kUsage, {}, QStringLiteral("expected INPUT files for --output-dir")};
    if (files.contains(QLatin1String("-")))
      throw Failure{Failure::kUsage, "-",
                    QStringLiteral("standard input cannot be read by --output-dir; name files")};
    options.inputs = files;
    options.format = formatName.isNull() ? "png" : chooseOutputFormat(formatName, QString());
    return line;
  }
  if (files.size() != 2)
    throw Failure{Failure::kUsage,
                  {},
                  QStringLiteral("expected INPUT and OUTPUT, got %1 file name(s) (see --help)")
                      .arg(files.size())};
  options.input = files[0];
  options.output = files[1];
  options.format = chooseOutputFormat(formatName, options.output);
  return line;
}
