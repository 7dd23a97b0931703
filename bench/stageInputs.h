#pragma once
// The planes the detector's stages hand one another, made by the same steps
// as the detector's driver, so that each stage can be timed alone on its real
// input.
#include <cstdint>
#include <vector>

#include "benchCommon.h"
#include "engine/PaddedPlane.h"

using canny::detail::PaddedPlane;

// A plane of (width + 2) x (height + 2) cells that frees itself.
class OwnedPlane {
 public:
  OwnedPlane(std::int32_t width, std::int32_t height);  // throws std::bad_alloc
  ~OwnedPlane();
  OwnedPlane(const OwnedPlane &) = delete;
  OwnedPlane &operator=(const OwnedPlane &) = delete;

  PaddedPlane get() const { return plane_; }
  void copyFrom(const OwnedPlane &other);  // every cell, border included

 private:
  std::int64_t columns_, rows_;
  PaddedPlane plane_ = nullptr;
};

struct StageInputs {
  StageInputs(const GrayPicture &picture, Setting setting);

  std::int32_t width, height;
  std::vector<float> flat;  // the bytes as floats: what smoothing starts from
  OwnedPlane image;         // smoothed, border replicated: what gradients read
  OwnedPlane gx, gy;
  OwnedPlane magnitudes;  // cut at T1, border 0: what suppression thins
  OwnedPlane thinned;     // what hysteresis links
  bool matchesDetector;   // chained, the stages give the detector's own edge map
};

// The inputs for one picture and setting, made on first use and kept, since
// repetitions may run in shuffled order (a 4000x3000 set takes about 300 MB).
const StageInputs &stageInputs(const BenchPicture &picture, const Setting &setting);
