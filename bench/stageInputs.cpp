#include "stageInputs.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>

#include <canny/cannyEdgeDetector.h>
#include <canny/stages.h>
#include "engine/gradients.h"
#include "engine/hysteresis.h"
#include "engine/planeBorders.h"
#include "engine/smoothGaussian.h"
#include "engine/suppressNonMaxima.h"

using namespace canny::detail;

OwnedPlane::OwnedPlane(std::int32_t width, std::int32_t height)
    : columns_(std::int64_t{width} + 2), rows_(std::int64_t{height} + 2) {
  allocPlane(plane_, columns_, rows_);
  if (!planeIsComplete(plane_, columns_)) {
    freePlane(plane_, columns_);
    throw std::bad_alloc();
  }
}

OwnedPlane::~OwnedPlane() { freePlane(plane_, columns_); }

void OwnedPlane::copyFrom(const OwnedPlane &other) {
  const auto bytes = static_cast<std::size_t>(rows_) * sizeof(float);
  for (std::int64_t x = 0; x < columns_; ++x) std::memcpy(plane_[x], other.plane_[x], bytes);
}

namespace {

// The smoothed picture in the image plane, its border replicated as the
// plain pipeline does it.
void fillImagePlane(const std::vector<float> &flat, PaddedPlane image, std::int64_t w,
                    std::int64_t h) {
  for (std::int64_t x = 0; x < w; ++x)
    for (std::int64_t y = 0; y < h; ++y)
      image[x + 1][y + 1] = flat[static_cast<std::size_t>(y * w + x)];
  replicateBorder(image, w, h);
}

void fillMagnitudes(PaddedPlane out, PaddedPlane gx, PaddedPlane gy, std::int64_t w,
                    std::int64_t h) {
  for (std::int64_t x = 0; x <= w + 1; ++x)
    for (std::int64_t y = 0; y <= h + 1; ++y) out[x][y] = 0.0f;
  for (std::int64_t x = 1; x <= w; ++x) {
    for (std::int64_t y = 1; y <= h; ++y) {
      const float a = gx[x][y] * gx[x][y];
      const float b = gy[x][y] * gy[x][y];
      const float m = std::sqrt(a + b);
      out[x][y] = m >= kT1 ? m : 0.0f;
    }
  }
}

// Links the thinned plane and compares the edge map with the detector's.
bool sameAsDetector(const GrayPicture &picture, Setting setting, const OwnedPlane &thinned) {
  OwnedPlane linked(picture.width, picture.height);
  linked.copyFrom(thinned);
  if (!applyHysteresis(linked.get(), kT1, kT2, picture.width, picture.height)) return false;
  std::vector<std::uint8_t> edges = picture.bytes;
  cannyEdgeDetector(kT1, kT2, setting.sigma, setting.steps, picture.width, picture.height,
                    edges.data());
  for (std::int64_t y = 0; y < picture.height; ++y) {
    for (std::int64_t x = 0; x < picture.width; ++x) {
      const float cell = linked.get()[x + 1][y + 1];
      if ((cell == 255.0f ? 255 : 0) != edges[static_cast<std::size_t>(y * picture.width + x)])
        return false;
    }
  }
  return true;
}

}  // namespace

StageInputs::StageInputs(const GrayPicture &picture, Setting setting)
    : width(picture.width),
      height(picture.height),
      flat(picture.bytes.begin(), picture.bytes.end()),
      image(width, height),
      gx(width, height),
      gy(width, height),
      magnitudes(width, height),
      thinned(width, height) {
  // The smoothed picture as the engine's plain pipeline gives it.
  std::vector<float> smoothed(flat.size());
  canny::computeStage({picture.bytes.data(), width, height, width}, canny::Stage::smoothed,
                      smoothed.data(), {kT1, kT2, setting.sigma, setting.steps});
  fillImagePlane(smoothed, image.get(), width, height);
  computeGradients(image.get(), gx.get(), gy.get(), width, height);
  fillMagnitudes(magnitudes.get(), gx.get(), gy.get(), width, height);
  thinned.copyFrom(magnitudes);
  suppressNonMaxima(thinned.get(), gx.get(), gy.get(), width, height);
  matchesDetector = sameAsDetector(picture, setting, thinned);
}

const StageInputs &stageInputs(const BenchPicture &picture, const Setting &setting) {
  static std::map<std::string, std::unique_ptr<StageInputs>> made;
  std::unique_ptr<StageInputs> &inputs = made[picture.label + "/" + setting.label];
  if (!inputs) inputs = std::make_unique<StageInputs>(picture.gray, setting);
  return *inputs;
}
