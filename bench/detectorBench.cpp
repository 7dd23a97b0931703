// The whole detector, as a caller runs it: gray bytes in, edge map out. Once
// as a fresh call that takes and returns its working memory (`engine`), once
// with one canny::Detector kept across calls (`engine-kept`), as the camera and
// repeated Applies run it. Both count the page faults of a call: fresh memory
// is faulted in page by page, kept memory only once.
#include <sys/resource.h>

#include <cstring>

#include <canny/canny.h>
#include <canny/cannyEdgeDetector.h>
#include "benchCommon.h"

namespace {

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

template <typename Detect>
void timeDetector(benchmark::State &state, const GrayPicture &picture, const Detect &detect) {
  std::vector<std::uint8_t> work(picture.bytes.size());
  long faults = 0;
  for (auto _ : state) {
    // The detector overwrites its input, so every call starts from a fresh
    // copy; the peer pays for the same copy.
    std::memcpy(work.data(), picture.bytes.data(), work.size());
    const long before = minorFaults();
    detect(work.data());
    faults += minorFaults() - before;
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  countMegapixels(state, picture);
  state.counters["faults"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.counters["frames/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

void detector(benchmark::State &state, const GrayPicture &picture, Setting setting) {
  timeDetector(state, picture, [&](std::uint8_t *data) {
    cannyEdgeDetector(kT1, kT2, setting.sigma, setting.steps, picture.width, picture.height, data);
  });
}

void keptDetector(benchmark::State &state, const GrayPicture &picture, Setting setting) {
  canny::Detector kept;
  timeDetector(state, picture, [&](std::uint8_t *data) {
    const canny::ImageView bytes{data, picture.width, picture.height, picture.width};
    kept.detect({data, picture.width, picture.height, picture.width}, bytes,
                {kT1, kT2, setting.sigma, setting.steps});
  });
}

}  // namespace

void registerDetectorBenchmarks(const std::vector<BenchPicture> &pictures) {
  for (const BenchPicture &picture : pictures) {
    for (const Setting &setting : kSettings) {
      const std::string name = "detector/" + picture.label + "/" + setting.label + "/engine";
      benchmark::RegisterBenchmark(name.c_str(), detector, std::cref(picture.gray), setting)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((name + "-kept").c_str(), keptDetector, std::cref(picture.gray),
                                   setting)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
}
