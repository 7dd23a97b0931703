#include "imaging/SrgbGray.h"

#include <cmath>

namespace {

// Qt's weights to the bit: with them its gray comes out for all 2^24 colours.
constexpr float kWeights[3] = {0x1.c7a108p-3f, 0x1.6f0e68p-1f, 0x1.f09594p-5f};
constexpr int kResolution = SrgbGrayTables::kResolution;

float srgbToLinear(float x) {
  constexpr float a = 1.0f / 1.055f, b = 0.055f / 1.055f, c = 1.0f / 12.92f, d = 0.04045f;
  return x < d ? c * x : std::pow(a * x + b, 2.4f);
}

float linearToSrgb(float x) {
  constexpr float a = 1.0f / 1.055f, b = 0.055f / 1.055f, c = 1.0f / 12.92f, d = 0.04045f;
  // The inverse's parameters, as Qt inverts the function.
  const float ia = 1.0f / std::pow(a, 2.4f), ic = 1.0f / c, id = c * d, ie = -b / a;
  return x < id ? ic * x : std::pow(ia * x, 1.0f / 2.4f) + ie;
}

SrgbGrayTables makeTables() {
  SrgbGrayTables t;
  constexpr float kLinearUnit = 1.0f / (255 * 256);
  for (int v = 0; v < 256; ++v) {
    const auto linear = std::uint16_t(
        std::lround(srgbToLinear(float((v * 16) / double(kResolution))) * (255 * 256.0)));
    for (int k = 0; k < 3; ++k) t.channel[k][v] = float(linear) * kLinearUnit * kWeights[k];
  }
  for (int i = 0; i <= kResolution; ++i) {
    const float back = std::clamp(linearToSrgb(float(i / double(kResolution))), 0.0f, 1.0f);
    t.gray[std::size_t(i)] = std::int32_t((std::lround(back * (255 * 256.0)) + 0x80) >> 8);
  }
  return t;
}

}  // namespace

const SrgbGrayTables &srgbGrayTables() {
  static const SrgbGrayTables made = makeTables();
  return made;
}
