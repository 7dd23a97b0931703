// The whole detector, as a caller runs it: gray bytes in, edge map out.
#include <cstring>

#include "benchCommon.h"
#include "engine/cannyEdgeDetector.h"

namespace {

void detector(benchmark::State &state, const GrayPicture &picture, Setting setting) {
  std::vector<std::uint8_t> work(picture.bytes.size());
  for (auto _ : state) {
    // The detector overwrites its input, so every call starts from a fresh
    // copy; the peer pays for the same copy.
    std::memcpy(work.data(), picture.bytes.data(), work.size());
    cannyEdgeDetector(kT1, kT2, setting.sigma, setting.steps, picture.width, picture.height,
                      work.data());
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  countMegapixels(state, picture);
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
    }
  }
}
