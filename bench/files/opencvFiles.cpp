// canny_opencv_files DIR INPUT...: what the tool does, as a plain OpenCV program would do it:
// each input read as gray, smoothed (sigma 2), Canny (L2) with the tool's default thresholds,
// written as DIR/NAME.png, one picture after another, OpenCV's default threads.
#include <cstdio>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

namespace {

// As the detector benchmark's peer: OpenCV's Sobel and L2 magnitude are 8 times the engine's.
constexpr double kSobelScale = 8.0;
constexpr double kT1 = 2.0, kT2 = 6.0, kSigma = 2.0;

std::string outputName(const std::string &dir, const std::string &input) {
  const std::size_t slash = input.find_last_of('/');
  std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  if (const std::size_t dot = name.find_last_of('.'); dot != std::string::npos) name.resize(dot);
  return dir + "/" + name + ".png";
}

}  // namespace

int main(int argc, char *argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: canny_opencv_files DIR INPUT...\n");
    return 2;
  }
  int status = 0;
  cv::Mat smoothed, edges;
  for (int i = 2; i < argc; ++i) {
    const cv::Mat gray = cv::imread(argv[i], cv::IMREAD_GRAYSCALE);
    if (gray.empty()) {
      std::fprintf(stderr, "canny_opencv_files: cannot read %s\n", argv[i]);
      status = 1;
      continue;
    }
    cv::GaussianBlur(gray, smoothed, cv::Size(), kSigma, kSigma, cv::BORDER_REPLICATE);
    cv::Canny(smoothed, edges, kT1 * kSobelScale, kT2 * kSobelScale, 3, true);
    if (!cv::imwrite(outputName(argv[1], argv[i]), edges)) {
      std::fprintf(stderr, "canny_opencv_files: cannot write the edges of %s\n", argv[i]);
      status = 1;
    }
  }
  return status;
}
