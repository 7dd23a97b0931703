// The peer: OpenCV doing the detector's job as well as it can, on the same
// bytes, single-threaded and with its default thread pool.
#include <opencv2/core.hpp>
#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include "benchCommon.h"

namespace {

// OpenCV's Sobel is 8 times the engine's, and so is its L2 magnitude.
constexpr double kSobelScale = 8.0;

void openCv(benchmark::State &state, const GrayPicture &picture, Setting setting, int threads) {
  cv::setNumThreads(threads);  // a negative count restores OpenCV's default
  const cv::Mat gray(picture.height, picture.width, CV_8UC1,
                     const_cast<std::uint8_t *>(picture.bytes.data()));
  cv::Mat work, smoothed, edges;
  for (auto _ : state) {
    gray.copyTo(work);  // the same fresh copy the engine gets
    const cv::Mat *input = &work;
    if (setting.sigma > 0) {
      // Kernel size 0: OpenCV derives it from sigma (13 taps for sigma 2).
      cv::GaussianBlur(work, smoothed, cv::Size(), setting.sigma, setting.sigma,
                       cv::BORDER_REPLICATE);
      input = &smoothed;
    }
    cv::Canny(*input, edges, kT1 * kSobelScale, kT2 * kSobelScale, 3, true);
    benchmark::DoNotOptimize(edges.data);
    benchmark::ClobberMemory();
  }
  cv::setNumThreads(-1);
  countMegapixels(state, picture);
}

}  // namespace

void registerOpenCvBenchmarks(const std::vector<BenchPicture> &pictures) {
  cv::setNumThreads(-1);
  benchmark::AddCustomContext("opencv", CV_VERSION);
  benchmark::AddCustomContext("opencv_default_threads", std::to_string(cv::getNumThreads()));
  for (const BenchPicture &picture : pictures) {
    for (const Setting &setting : kSettings) {
      const std::string base = "detector/" + picture.label + "/" + setting.label + "/";
      benchmark::RegisterBenchmark((base + "opencv-1thread").c_str(), openCv,
                                   std::cref(picture.gray), setting, 1)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((base + "opencv-defaultThreads").c_str(), openCv,
                                   std::cref(picture.gray), setting, -1)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
}
