// Peak working memory of one detector call, in bytes per pixel: the rise of
// the process's peak resident set over what the picture itself occupies.
//   canny_peak_memory WIDTH HEIGHT SIGMA [STEPS]
// Linux only: reads VmHWM and resets it through /proc/self/clear_refs.
// Small pictures show the allocator's own granularity as well.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <canny/cannyEdgeDetector.h>

namespace {

long peakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

bool resetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: canny_peak_memory WIDTH HEIGHT SIGMA [STEPS]\n");
    return 2;
  }
  const std::int32_t w = std::atoi(argv[1]), h = std::atoi(argv[2]);
  const float sigma = std::strtof(argv[3], nullptr);
  const std::int32_t steps = argc > 4 ? std::atoi(argv[4]) : 4;
  std::vector<std::uint8_t> picture(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < picture.size(); ++i)
    picture[i] = static_cast<std::uint8_t>(i * 7919 >> 5);
  // The worker threads start on first use; their stacks are not working memory.
  std::vector<std::uint8_t> warmUp(64 * 64, 128);
  cannyEdgeDetector(2.0f, 6.0f, 2.0f, 4, 64, 64, warmUp.data());
  const long before = peakResidentKiB();
  if (!resetPeak()) std::fprintf(stderr, "cannot reset the peak; figures include start-up\n");
  const bool done = tryCannyEdgeDetector(2.0f, 6.0f, sigma, steps, w, h, picture.data());
  const long after = peakResidentKiB();
  const double pixels = static_cast<double>(w) * h;
  std::printf("%dx%d sigma %g steps %d: %s, peak %.2f bytes per pixel (%ld KiB over %ld KiB)\n", w,
              h, static_cast<double>(sigma), steps, done ? "done" : "out of memory",
              (after - before) * 1024.0 / pixels, after - before, before);
  return done ? 0 : 1;
}
