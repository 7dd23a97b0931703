#include "ratioSummary.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>

namespace {

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Splits "detector/rocket/4000x3000/sigma2/engine" at its slashes.
std::vector<std::string> parts(const std::string &name) {
  std::vector<std::string> result;
  std::stringstream in(name);
  for (std::string part; std::getline(in, part, '/');) result.push_back(part);
  return result;
}

std::string number(double value, const char *format) {
  if (!(value >= 0)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

double ratio(double a, double b) { return a > 0 && b > 0 ? a / b : -1; }

// Rows in a fixed order whatever order the runs came in (they may be
// shuffled): by kind, picture, pixel count, setting, then side or stage.
bool comesBefore(const std::string &a, const std::string &b) {
  const std::vector<std::string> p = parts(a), q = parts(b);
  if (p.size() != 5 || q.size() != 5) return a < b;
  const auto pixels = [](const std::string &size) {
    return std::atof(size.c_str()) * std::atof(size.c_str() + size.find('x') + 1);
  };
  if (p[0] != q[0]) return p[0] < q[0];
  if (p[1] != q[1]) return p[1] > q[1];  // rocket before coins
  if (p[2] != q[2]) return pixels(p[2]) < pixels(q[2]);
  if (p[3] != q[3]) return p[3] > q[3];  // sigma2 before sigma0
  return p[4] < q[4];
}

}  // namespace

RatioSummary::RatioSummary()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

double RatioSummary::Figures::rate() const {
  return aggregateRate >= 0 ? aggregateRate : median(rateRuns);
}

double RatioSummary::Figures::realMs() const {
  return aggregateRealMs >= 0 ? aggregateRealMs : median(realMsRuns);
}

double RatioSummary::Figures::cpuMs() const {
  return aggregateCpuMs >= 0 ? aggregateCpuMs : median(cpuMsRuns);
}

void RatioSummary::ReportRuns(const std::vector<Run> &runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run &run : runs) {
    if (run.error_occurred) continue;
    const std::string &name = run.run_name.function_name;
    const bool isAggregate = run.run_type == Run::RT_Aggregate;
    if (isAggregate && run.aggregate_name != "median") continue;
    if (!figures_.count(name)) order_.push_back(name);
    Figures &f = figures_[name];
    const auto counter = run.counters.find("MP/s");
    const double rate = counter == run.counters.end() ? -1 : counter->second.value;
    // Every benchmark here reports in milliseconds.
    if (isAggregate) {
      f.aggregateRate = rate;
      f.aggregateRealMs = run.GetAdjustedRealTime();
      f.aggregateCpuMs = run.GetAdjustedCPUTime();
    } else {
      f.rateRuns.push_back(rate);
      f.realMsRuns.push_back(run.GetAdjustedRealTime());
      f.cpuMsRuns.push_back(run.GetAdjustedCPUTime());
    }
  }
}

const RatioSummary::Figures *RatioSummary::find(const std::string &name) const {
  const auto it = figures_.find(name);
  return it == figures_.end() ? nullptr : &it->second;
}

void RatioSummary::printRatios(std::ostream &out) const {
  bool header = false;
  for (const std::string &name : order_) {
    const std::vector<std::string> p = parts(name);
    if (p.size() != 5 || p[0] != "detector" || p[4] != "engine") continue;
    const std::string base = name.substr(0, name.size() - p[4].size());
    const Figures &engine = *find(name);
    const Figures *one = find(base + "opencv-1thread");
    const Figures *all = find(base + "opencv-defaultThreads");
    const Figures *kept = find(base + "engine-kept");
    if (!header) {
      out << "\nEngine against OpenCV: median MP/s in wall-clock time, and ratios engine / "
             "OpenCV (above 1 the engine is faster);\ncpu-work = CPU time of single-threaded "
             "OpenCV / CPU time of the engine, all its threads; kept = the engine with its memory "
             "kept\nacross calls, MP/s and wall ratio against OpenCV's default threads.\n"
             "picture  size       setting  engine  cv-1thr  cv-dflt  ratio-1thr  ratio-dflt  "
             "cpu-work    kept  kept-dflt\n";
      header = true;
    }
    const double cv1 = one ? one->rate() : -1, cvN = all ? all->rate() : -1;
    const double cpu = one ? ratio(one->cpuMs(), engine.cpuMs()) : -1;
    const double keptRate = kept ? kept->rate() : -1;
    char line[200];
    std::snprintf(line, sizeof line, "%-8s %-10s %-8s %6s  %7s  %7s  %10s  %10s  %8s  %6s  %9s\n",
                  p[1].c_str(), p[2].c_str(), p[3].c_str(), number(engine.rate(), "%.1f").c_str(),
                  number(cv1, "%.1f").c_str(), number(cvN, "%.1f").c_str(),
                  number(ratio(engine.rate(), cv1), "%.2f").c_str(),
                  number(ratio(engine.rate(), cvN), "%.2f").c_str(), number(cpu, "%.2f").c_str(),
                  number(keptRate, "%.1f").c_str(), number(ratio(keptRate, cvN), "%.2f").c_str());
    out << line;
  }
}

void RatioSummary::printStages(std::ostream &out) const {
  static const char *const kStages[] = {"allocFreePlanes", "smoothGaussian", "computeGradients",
                                        "suppressNonMaxima", "applyHysteresis"};
  bool header = false;
  for (const std::string &name : order_) {
    const std::vector<std::string> p = parts(name);
    if (p.size() != 5 || p[0] != "stage" || p[4] != kStages[0]) continue;
    const std::string base = name.substr(0, name.size() - p[4].size());
    if (!header) {
      out << "\nEngine stages: median CPU ms per call, all threads (rest = whole detector minus "
             "the stages: "
             "the driver's own\ncopies, borders and magnitudes, and first touches of fresh "
             "memory)\n"
             "picture  size       setting    alloc   smooth  gradnt  suppr.  hyster  detector  "
             "   rest\n";
      header = true;
    }
    double sum = 0;
    char line[200];
    int at = std::snprintf(line, sizeof line, "%-8s %-10s %-8s", p[1].c_str(), p[2].c_str(),
                           p[3].c_str());
    for (const char *stage : kStages) {
      const Figures *f = find(base + stage);
      const double ms = f ? f->realMs() : -1;  // manual time: the stage's CPU time
      if (ms > 0) sum += ms;
      at += std::snprintf(line + at, sizeof line - static_cast<std::size_t>(at), " %7s",
                          number(ms, "%.2f").c_str());
    }
    const Figures *whole = find("detector/" + p[1] + "/" + p[2] + "/" + p[3] + "/engine");
    const double total = whole ? whole->cpuMs() : -1;
    std::snprintf(line + at, sizeof line - static_cast<std::size_t>(at), " %9s %8s\n",
                  number(total, "%.2f").c_str(), number(ratio(total, 1) - sum, "%.2f").c_str());
    out << line;
  }
}

void RatioSummary::Finalize() {
  ConsoleReporter::Finalize();
  std::sort(order_.begin(), order_.end(), comesBefore);
  printRatios(GetOutputStream());
  printStages(GetOutputStream());
}
