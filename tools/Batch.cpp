#include "tools/Batch.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>  // isatty

#include <canny/canny.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "imaging/FileNames.h"
#include "imaging/StandardErrorCapture.h"
#include "tools/EdgeMap.h"
#include "tools/Failure.h"
#include "tools/KeptDetector.h"
#include "tools/SameFile.h"

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

// Every output against every input, before anything is written: an input
// whose edge map would replace an input, itself or another, is refused.
void refuseOutputsThatAreInputs(const Options &options, std::vector<QString> &outputs,
                                Progress &progress) {
  std::vector<std::optional<FileIdentity>> files;
  std::map<FileIdentity, qsizetype> inputOf;
  for (qsizetype i = 0; i < options.inputs.size(); ++i) {
    files.push_back(regularFileIdentity(options.inputs[i], 0));
    if (files.back()) inputOf.emplace(*files.back(), i);
  }
  for (qsizetype i = 0; i < options.inputs.size(); ++i) {
    QString &output = outputs[std::size_t(i)];
    const auto file = output.isEmpty() ? std::nullopt : regularFileIdentity(output, 1);
    if (!file) continue;
    // Named as its own input where it is that one, by a link or not.
    const auto other = inputOf.find(*file);
    const qsizetype input = file == files[std::size_t(i)] ? i
                            : other != inputOf.end()      ? other->second
                                                          : -1;
    if (input < 0) continue;
    progress.failed(Failure{Failure::kRun, input == i ? QString() : options.inputs[i],
                            sameFileReason(options.inputs[input], output)});
    output.clear();
  }
}

// As mkdir -p: 0 once `dir` is a folder, else the system's errno.
int makeFolder(const QByteArray &dir) {
  for (qsizetype end = 1; end <= dir.size(); ++end)
    if ((end == dir.size() || dir[end] == '/') && ::mkdir(dir.left(end).constData(), 0777) != 0 &&
        errno != EEXIST)
      return errno;
  struct stat status;
  if (::stat(dir.constData(), &status) != 0) return errno;
  return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

}  // namespace

int runBatch(const Options &options, const std::function<void(const Failure &)> &report) {
  const QString &dir = options.outputDir;
  if (const int error = makeFolder(fileNameBytes(dir)))
    throw Failure{Failure::kRun, dir,
                  "cannot create this folder: " + QString::fromLocal8Bit(std::strerror(error))};
  Progress progress(options.inputs.size(), report);
  std::vector<QString> outputs = outputNames(options, progress);
  refuseOutputsThatAreInputs(options, outputs, progress);

  // The engine also splits each picture over threads: together with the workers, no more
  // threads than CPUs, unless the workers alone are more.
  const int cpus = canny::threadCount();
  const qsizetype workers =
      std::min<qsizetype>(options.inputs.size(), options.jobs > 0 ? options.jobs : cpus);
  canny::setThreadCount(int(std::max<qsizetype>(1, cpus / workers)));

  std::atomic<qsizetype> next{0};
  const auto work = [&] {
    const DetectorFunction detector = keptDetector();
    GrayPicture picture;   // its memory goes from one picture to the next,
    PictureBlock decoded;  // and so does the decoded picture's
    for (qsizetype i = next++; i < options.inputs.size(); i = next++) {
      if (outputs[std::size_t(i)].isEmpty()) continue;
      try {
        writeEdgeMapOf(options, options.inputs[i], outputs[std::size_t(i)], detector, picture,
                       &decoded);
        progress.done();
      } catch (const Failure &failure) {
        progress.failed(failure);
      }
    }
  };
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
