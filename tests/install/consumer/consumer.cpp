// Binary PGM on standard input to its edge map on standard output, with the installed engine alone.
#include <engine/EdgeDetector.h>
#include <engine/cannyEngineVersion.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <vector>

static_assert(CANNY_ENGINE_VERSION >= CANNY_ENGINE_VERSION_OF(1, 0, 0));

int main() {
  std::string magic;
  int width = 0, height = 0, top = 0;
  if (!(std::cin >> magic >> width >> height >> top) || magic != "P5" || top != 255) return 2;
  std::cin.get();
  std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height));
  if (!std::cin.read(reinterpret_cast<char *>(pixels.data()), std::streamsize(pixels.size())))
    return 2;
  EdgeDetector detector;
  if (!detector.detect(1.0f, 3.0f, 1.5f, 2, width, height, pixels.data())) return 1;
  std::cout << "P5\n" << width << ' ' << height << "\n255\n";
  std::cout.write(reinterpret_cast<const char *>(pixels.data()), std::streamsize(pixels.size()));
  return std::cout.good() ? 0 : 1;
}
