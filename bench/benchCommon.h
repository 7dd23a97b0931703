#pragma once
// What every benchmark shares: the pictures, the detector settings and the
// speed counter.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pictures.h"

// One photograph at one benchmark size; `label` reads "rocket/4000x3000".
struct BenchPicture {
  std::string label;
  GrayPicture gray;
};

// The camera screen's thresholds. OpenCV's Sobel is not scaled by 1/8, so its
// thresholds are these times 8.
inline constexpr float kT1 = 2.0f;
inline constexpr float kT2 = 6.0f;

struct Setting {
  const char *label;
  float sigma;
  std::int32_t steps;
};
inline constexpr Setting kSettings[] = {{"sigma2", 2.0f, 4}, {"sigma0", 0.0f, 4}};

// Megapixels per second over the time the benchmark measures (real or manual).
inline void countMegapixels(benchmark::State &state, const GrayPicture &picture) {
  const double megapixels = static_cast<double>(picture.width) * picture.height / 1e6;
  state.counters["MP/s"] =
      benchmark::Counter(megapixels, benchmark::Counter::kIsIterationInvariantRate);
}

// Registration, one function per benchmark family.
void registerDetectorBenchmarks(const std::vector<BenchPicture> &pictures);
void registerOpenCvBenchmarks(const std::vector<BenchPicture> &pictures);
void registerStageBenchmarks(const std::vector<BenchPicture> &pictures);
