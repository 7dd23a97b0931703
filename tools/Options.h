#pragma once
// The command line: detector values, the files and the output format.
#include <canny/canny.h>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "imaging/PixelBudget.h"

// Smoothing costs about 4 x Steps multiply-adds a pixel; capped so that the
// slowest run on the largest picture within the default budget takes
// minutes, not days (100 is far beyond any visible change).
constexpr std::int32_t kMostSteps = 100;
// Far beyond any machine's memory, yet small enough that sizes computed from
// it cannot overflow.
constexpr qint64 kMostMaxPixels = qint64(1) << 40;
// Far more workers than any machine has cores; each holds a picture in memory.
constexpr int kMostJobs = 1024;

struct Options {
  // The engine's defaults, the camera screen's start values.
  float t1 = canny::Settings{}.t1;
  float t2 = canny::Settings{}.t2;
  float sigma = canny::Settings{}.sigma;
  std::int32_t steps = canny::Settings{}.steps;
  qint64 maxPixels = kDefaultMaxPixels;
  QString input;   // "-" is standard input
  QString output;  // "-" is standard output
  // The batch form instead: many inputs, one edge map each in the folder.
  QString outputDir;  // null for the single-picture form
  QStringList inputs;
  int jobs = 0;       // pictures at once; 0 for as many as the process has CPUs
  QByteArray format;  // Qt's writer format name
};

struct CommandLine {
  enum class Request { Run, Help, Version } request = Request::Run;
  Options options;  // for Run
  QString text;     // what to print for Help and Version
};

// Parses the arguments (program name first). Throws a usage Failure naming
// the option or argument at fault.
CommandLine parseCommandLine(const QStringList &arguments);
