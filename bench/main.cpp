// canny_bench: the edge detector against OpenCV on real photographs, and the
// detector's stages one by one. Ends with a summary of ratios and stage times.
#include <cstdio>
#include <exception>

#include "benchCommon.h"
#include "ratioSummary.h"

namespace {

// Photographs, each resized to every benchmark size; 640x480 is a camera frame.
std::vector<BenchPicture> loadPictures(const std::vector<std::string> &names) {
  constexpr std::int32_t kSizes[][2] = {{512, 512}, {640, 480}, {1000, 1000}, {4000, 3000}};
  std::vector<BenchPicture> pictures;
  for (const std::string &name : names) {
    const GrayPicture original = readPgm(std::string(CANNY_BENCH_PICTURES) + "/" + name + ".pgm");
    for (const auto &size : kSizes) {
      const std::string label =
          name + "/" + std::to_string(size[0]) + "x" + std::to_string(size[1]);
      pictures.push_back({label, resizeBilinear(original, size[0], size[1])});
    }
  }
  return pictures;
}

}  // namespace

#ifndef CANNY_BENCH_PATH
#define CANNY_BENCH_PATH "the best the processor has"
#endif

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("engine_vector_path", CANNY_BENCH_PATH);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  try {
    // Registered benchmarks keep references into these: they live to the end.
    const std::vector<BenchPicture> pictures = loadPictures({"rocket", "coins"});
    const std::vector<BenchPicture> stagePictures = loadPictures({"rocket"});
    registerDetectorBenchmarks(pictures);
#ifdef CANNY_BENCH_OPENCV
    registerOpenCvBenchmarks(pictures);
#endif
    registerStageBenchmarks(stagePictures);
    RatioSummary reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "canny_bench: %s\n", e.what());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
