#include "pictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// The next header number, skipping white space and '#' comments.
std::size_t headerNumber(const std::string &text, std::size_t &at) {
  while (at < text.size()) {
    if (text[at] == '#') {
      while (at < text.size() && text[at] != '\n') ++at;
    } else if (std::isspace(static_cast<unsigned char>(text[at]))) {
      ++at;
    } else {
      break;
    }
  }
  std::size_t value = 0, digits = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && digits < 9) {
    value = value * 10 + static_cast<std::size_t>(text[at++] - '0');
    ++digits;
  }
  if (digits == 0) throw std::runtime_error("bad PGM header");
  return value;
}

}  // namespace

GrayPicture readPgm(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    if (!in && !in.eof()) throw std::runtime_error("cannot read");
    if (text.compare(0, 2, "P5") != 0) throw std::runtime_error("not a binary PGM");
    std::size_t at = 2;
    const std::size_t width = headerNumber(text, at);
    const std::size_t height = headerNumber(text, at);
    if (headerNumber(text, at) != 255) throw std::runtime_error("maximum value is not 255");
    ++at;  // the single white space character before the samples
    if (width == 0 || height == 0 || text.size() < at + width * height)
      throw std::runtime_error("bad size or short file");
    GrayPicture picture;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.bytes.assign(text.begin() + static_cast<std::ptrdiff_t>(at),
                         text.begin() + static_cast<std::ptrdiff_t>(at + width * height));
    return picture;
  } catch (const std::runtime_error &e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}

namespace {

// Source position and weight of the next sample for each of n destination
// positions, centres aligned and clamped at both ends.
struct Tap {
  std::ptrdiff_t lo, hi;
  double weight;  // of hi
};

std::vector<Tap> taps(std::int32_t from, std::int32_t to) {
  std::vector<Tap> result(static_cast<std::size_t>(to));
  const double scale = static_cast<double>(from) / to;
  for (std::int32_t i = 0; i < to; ++i) {
    const double s = std::clamp((i + 0.5) * scale - 0.5, 0.0, from - 1.0);
    const auto lo = static_cast<std::ptrdiff_t>(s);
    result[static_cast<std::size_t>(i)] = {lo, std::min<std::ptrdiff_t>(lo + 1, from - 1),
                                           s - static_cast<double>(lo)};
  }
  return result;
}

}  // namespace

GrayPicture resizeBilinear(const GrayPicture &source, std::int32_t width, std::int32_t height) {
  const std::vector<Tap> across = taps(source.width, width);
  const std::vector<Tap> down = taps(source.height, height);
  GrayPicture result;
  result.width = width;
  result.height = height;
  result.bytes.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const auto at = [&](std::ptrdiff_t x, std::ptrdiff_t y) {
    return static_cast<double>(source.bytes[static_cast<std::size_t>(y * source.width + x)]);
  };
  std::size_t out = 0;
  for (const Tap &v : down) {
    for (const Tap &u : across) {
      const double top = at(u.lo, v.lo) + u.weight * (at(u.hi, v.lo) - at(u.lo, v.lo));
      const double bottom = at(u.lo, v.hi) + u.weight * (at(u.hi, v.hi) - at(u.lo, v.hi));
      result.bytes[out++] = static_cast<std::uint8_t>(std::lround(top + v.weight * (bottom - top)));
    }
  }
  return result;
}
