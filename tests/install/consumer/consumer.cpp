// Binary PGM on standard input to its edge map on standard output, with the installed engine alone.
#include <canny/canny.h>
#include <canny/cannyEdgeDetector.h>
#include <canny/version.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <vector>

static_assert(CANNY_ENGINE_VERSION >= CANNY_ENGINE_VERSION_OF(1, 0, 0));

int main() {
  if (canny::version().major != CANNY_ENGINE_VERSION_MAJOR) return 3;
  std::string magic;
  int width = 0, height = 0, top = 0;
  if (!(std::cin >> magic >> width >> height >> top) || magic != "P5" || top != 255) return 2;
  std::cin.get();
  std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height));
  if (!std::cin.read(reinterpret_cast<char *>(pixels.data()), std::streamsize(pixels.size())))
    return 2;
  // The old entry and the new one, in place and into a separate buffer, must agree.
  std::vector<std::uint8_t> edges(pixels.size()), old = pixels;
  const canny::ConstImageView in{pixels.data(), width, height, width};
  canny::Detector detector;
  if (detector.detect(in, {edges.data(), width, height, width}, {1.0f, 3.0f, 1.5f, 2}) !=
          canny::Status::ok ||
      !tryCannyEdgeDetector(1.0f, 3.0f, 1.5f, 2, width, height, old.data()) || old != edges)
    return 1;
  std::cout << "P5\n" << width << ' ' << height << "\n255\n";
  std::cout.write(reinterpret_cast<const char *>(edges.data()), std::streamsize(edges.size()));
  return std::cout.good() ? 0 : 1;
}
