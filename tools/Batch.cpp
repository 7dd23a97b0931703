#include "tools/Batch.h"

#include <unistd.h>  // isatty

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "imaging/StandardErrorCapture.h"
#include "tools/EdgeMap.h"
#include "tools/Failure.h"
#include "tools/KeptDetector.h"

namespace {

// Standard error as the workers share it: failures and the progress line.
class Progress {
 public:
  Progress(qsizetype total, const std::function<void(const Failure &)> &report)
      : _report(report), _total(total), _shown(isatty(STDERR_FILENO) == 1) {
    showLine();
  }

  void failed(const Failure &failure) {
    const std::lock_guard lock(standardErrorLock());
    _failed = true;
    ++_done;
    clearLine();
    _report(failure);
    showLine();
  }
  void done() {
    const std::lock_guard lock(standardErrorLock());
    ++_done;
    clearLine();
    showLine();
  }
  void finish() {
    const std::lock_guard lock(standardErrorLock());
    clearLine();
  }
  bool anyFailed() const { return _failed; }

 private:
  void clearLine() {
    if (_shown) std::fputs("\r\033[K", stderr);
  }
  void showLine() {
    if (!_shown) return;
    std::fprintf(stderr, "canny: %lld of %lld pictures", static_cast<long long>(_done),
                 static_cast<long long>(_total));
    std::fflush(stderr);
  }

  const std::function<void(const Failure &)> &_report;
  const qsizetype _total;
  const bool _shown;
  qsizetype _done = 0;
  bool _failed = false;
};

// DIR/NAME.EXT for every input; an input whose name another already takes is
// refused rather than let the two overwrite each other.
std::vector<QString> outputNames(const Options &options, Progress &progress) {
  const QDir dir(options.outputDir);
  const QString extension = QString::fromLatin1(options.format);
  QHash<QString, QString> takenBy;
  std::vector<QString> names;
  for (const QString &input : options.inputs) {
    const QString output =
        dir.filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + extension);
    const auto taken = takenBy.constFind(output);
    if (taken == takenBy.cend()) {
      takenBy.insert(output, input);
      names.push_back(output);
    } else {
      progress.failed(Failure{
          Failure::kRun, input,
          QStringLiteral("its edge map would overwrite that of %1 in %2").arg(*taken, output)});
      names.emplace_back();
    }
  }
  return names;
}

}  // namespace

int runBatch(const Options &options, const std::function<void(const Failure &)> &report) {
  const QString &dir = options.outputDir;
  if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir())
    throw Failure{Failure::kRun, dir, QStringLiteral("cannot create this folder")};
  Progress progress(options.inputs.size(), report);
  const std::vector<QString> outputs = outputNames(options, progress);

  std::atomic<qsizetype> next{0};
  const auto work = [&] {
    const DetectorFunction detector = keptDetector();
    for (qsizetype i = next++; i < options.inputs.size(); i = next++) {
      if (outputs[std::size_t(i)].isEmpty()) continue;
      try {
        writeEdgeMapOf(options, options.inputs[i], outputs[std::size_t(i)], detector);
        progress.done();
      } catch (const Failure &failure) {
        progress.failed(failure);
      }
    }
  };
  const qsizetype workers =
      std::min<qsizetype>(options.inputs.size(), std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  try {
    for (qsizetype w = 1; w < workers; ++w) threads.emplace_back(work);
  } catch (const std::system_error &) {  // fewer threads, same results
  }
  work();
  for (std::thread &thread : threads) thread.join();
  progress.finish();
  return progress.anyFailed() ? Failure::kRun : 0;
}
