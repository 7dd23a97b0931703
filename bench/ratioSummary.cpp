#include "ratioSummary.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

#include <unistd.h>

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
  if (value < 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

RatioSummary::RatioSummary()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

double RatioSummary::Figures::rate() const {
  return medianRate >= 0 ? medianRate : median(megapixelsPerSecond);
}

double RatioSummary::Figures::ms() const {
  return medianMilliseconds >= 0 ? medianMilliseconds : median(milliseconds);
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
    const double ms = run.GetAdjustedRealTime();
    if (isAggregate) {
      f.medianRate = rate;
      f.medianMilliseconds = ms;
    } else {
      f.megapixelsPerSecond.push_back(rate);
      f.milliseconds.push_back(ms);
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
    const Figures *one = find(base + "opencv-1thread");
    const Figures *all = find(base + "opencv-defaultThreads");
    if (!header) {
      out << "\nEngine against OpenCV, median MP/s (ratio = engine / OpenCV; above 1 the "
             "engine is faster)\n";
      out << "picture  size       setting  engine  cv-1thr  cv-dflt  ratio-1thr  ratio-dflt\n";
      header = true;
    }
    const double engine = find(name)->rate();
    const double cv1 = one ? one->rate() : -1, cvN = all ? all->rate() : -1;
    char line[160];
    std::snprintf(line, sizeof line, "%-8s %-10s %-8s %6s  %7s  %7s  %10s  %10s\n", p[1].c_str(),
                  p[2].c_str(), p[3].c_str(), number(engine, "%.1f").c_str(),
                  number(cv1, "%.1f").c_str(), number(cvN, "%.1f").c_str(),
                  number(cv1 > 0 ? engine / cv1 : -1, "%.2f").c_str(),
                  number(cvN > 0 ? engine / cvN : -1, "%.2f").c_str());
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
      out << "\nEngine stages, median ms per call (rest = whole detector minus the stages: "
             "the driver's own copies, borders, magnitudes, first touch of fresh memory)\n";
      out << "picture  size       setting   alloc  smooth  gradnt  suppr.  hyster  detector    "
             "rest\n";
      header = true;
    }
    double sum = 0;
    char line[200];
    int at = std::snprintf(line, sizeof line, "%-8s %-10s %-8s", p[1].c_str(), p[2].c_str(),
                           p[3].c_str());
    for (const char *stage : kStages) {
      const Figures *f = find(base + stage);
      const double ms = f ? f->ms() : -1;
      if (ms > 0) sum += ms;
      at += std::snprintf(line + at, sizeof line - static_cast<std::size_t>(at), " %7s",
                          number(ms, "%.2f").c_str());
    }
    const Figures *whole = find("detector/" + p[1] + "/" + p[2] + "/" + p[3] + "/engine");
    const double total = whole ? whole->ms() : -1;
    std::snprintf(line + at, sizeof line - static_cast<std::size_t>(at), " %9s %7s\n",
                  number(total, "%.2f").c_str(), number(total > 0 ? total - sum : -1, "%.2f").c_str());
    out << line;
  }
}

void RatioSummary::Finalize() {
  ConsoleReporter::Finalize();
  printRatios(GetOutputStream());
  printStages(GetOutputStream());
}
