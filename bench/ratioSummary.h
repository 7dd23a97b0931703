#pragma once
// A console reporter that, after the usual table, prints the engine's speed as
// a ratio to OpenCV's and the engine's time split by stage, from the medians
// of the runs (or the single run when there are no repetitions).
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioSummary : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal (the command line's colour flag does not reach
  // a reporter of one's own).
  RatioSummary();
  void ReportRuns(const std::vector<Run> &runs) override;
  void Finalize() override;

 private:
  struct Figures {
    std::vector<double> megapixelsPerSecond, milliseconds;  // one per repetition
    double medianRate = -1, medianMilliseconds = -1;        // from the median aggregate
    double rate() const;
    double ms() const;
  };
  void printRatios(std::ostream &out) const;
  void printStages(std::ostream &out) const;
  const Figures *find(const std::string &name) const;

  std::map<std::string, Figures> figures_;  // by benchmark name
  std::vector<std::string> order_;          // names as first reported
};
