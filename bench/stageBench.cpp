// Each engine stage alone on its real input, to see where the detector's time
// goes. Stages that work in place get a fresh copy of their input before every
// call; only the stage itself is timed, in the CPU time of the whole process
// (every thread a stage may start), which other processes on a busy machine
// do not inflate; page faults count, being spent in the process.
#include <time.h>

#include <cstring>

#include "benchCommon.h"
#include "engine/PaddedPlane.h"
#include "engine/gradients.h"
#include "engine/hysteresis.h"
#include "engine/smoothGaussian.h"
#include "engine/suppressNonMaxima.h"
#include "stageInputs.h"

using namespace canny::detail;

namespace {

double processSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename Reset, typename Stage>
void timeStage(benchmark::State &state, Reset reset, Stage stage) {
  for (auto _ : state) {
    reset();
    const double start = processSeconds();
    stage();
    benchmark::ClobberMemory();
    state.SetIterationTime(processSeconds() - start);
  }
}

// Fetches the inputs and reports the counter; false when they are unusable.
bool prepare(benchmark::State &state, const StageInputs &in, const GrayPicture &picture) {
  countMegapixels(state, picture);
  if (in.matchesDetector) return true;
  state.SkipWithError("the chained stages no longer give the detector's edge map");
  return false;
}

void smoothing(benchmark::State &state, const BenchPicture *picture, Setting setting) {
  const StageInputs &in = stageInputs(*picture, setting);
  if (!prepare(state, in, picture->gray)) return;
  std::vector<float> flat(in.flat.size());
  timeStage(
      state, [&] { std::memcpy(flat.data(), in.flat.data(), flat.size() * sizeof(float)); },
      [&] { smoothGaussian(flat.data(), in.width, in.height, setting.sigma, setting.steps); });
}

void gradients(benchmark::State &state, const BenchPicture *picture, Setting setting) {
  const StageInputs &in = stageInputs(*picture, setting);
  if (!prepare(state, in, picture->gray)) return;
  OwnedPlane gx(in.width, in.height), gy(in.width, in.height);
  timeStage(
      state, [] {},
      [&] { computeGradients(in.image.get(), gx.get(), gy.get(), in.width, in.height); });
}

void suppression(benchmark::State &state, const BenchPicture *picture, Setting setting) {
  const StageInputs &in = stageInputs(*picture, setting);
  if (!prepare(state, in, picture->gray)) return;
  OwnedPlane work(in.width, in.height);
  timeStage(
      state, [&] { work.copyFrom(in.magnitudes); },
      [&] { suppressNonMaxima(work.get(), in.gx.get(), in.gy.get(), in.width, in.height); });
}

void hysteresis(benchmark::State &state, const BenchPicture *picture, Setting setting) {
  const StageInputs &in = stageInputs(*picture, setting);
  if (!prepare(state, in, picture->gray)) return;
  OwnedPlane work(in.width, in.height);
  timeStage(
      state, [&] { work.copyFrom(in.thinned); },
      [&] { applyHysteresis(work.get(), kT1, kT2, in.width, in.height); });
}

// The three planes one detector call allocates and frees (cells untouched).
void planes(benchmark::State &state, const BenchPicture *picture, Setting) {
  const std::int64_t columns = std::int64_t{picture->gray.width} + 2;
  const std::int64_t rows = std::int64_t{picture->gray.height} + 2;
  countMegapixels(state, picture->gray);
  timeStage(
      state, [] {},
      [&] {
        PaddedPlane p[3];
        for (PaddedPlane &plane : p) allocPlane(plane, columns, rows);
        benchmark::DoNotOptimize(p);
        for (PaddedPlane plane : p) freePlane(plane, columns);
      });
}

}  // namespace

void registerStageBenchmarks(const std::vector<BenchPicture> &pictures) {
  using Stage = void (*)(benchmark::State &, const BenchPicture *, Setting);
  const struct {
    const char *name;
    Stage run;
    bool needsSmoothing;
  } stages[] = {{"allocFreePlanes", planes, false},
                {"smoothGaussian", smoothing, true},
                {"computeGradients", gradients, false},
                {"suppressNonMaxima", suppression, false},
                {"applyHysteresis", hysteresis, false}};
  for (const BenchPicture &picture : pictures) {
    for (const Setting &setting : kSettings) {
      for (const auto &stage : stages) {
        if (stage.needsSmoothing && !(setting.sigma > 0)) continue;
        const std::string name = "stage/" + picture.label + "/" + setting.label + "/" + stage.name;
        benchmark::RegisterBenchmark(name.c_str(), stage.run, &picture, setting)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}
