#pragma once
// A console reporter that, after the usual table, prints the engine's speed as
// a ratio to OpenCV's and the engine's time split by stage, from the medians
// of the runs (or the single run when there are no repetitions). Besides the
// wall-clock ratios it compares the CPU time (all threads) of the engine with
// that of single-threaded OpenCV: the work each does per picture, a figure
// that holds up better than wall time when other processes share the machine.
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
  // Medians: of the median aggregate when there is one, else of the runs.
  struct Figures {
    std::vector<double> rateRuns, realMsRuns, cpuMsRuns;  // one per repetition
    double aggregateRate = -1, aggregateRealMs = -1, aggregateCpuMs = -1;
    double rate() const;    // MP/s
    double realMs() const;  // per call; for the stages, their own (CPU) time
    double cpuMs() const;   // per call, the process's CPU time
  };
  void printRatios(std::ostream &out) const;
  void printStages(std::ostream &out) const;
  const Figures *find(const std::string &name) const;

  std::map<std::string, Figures> figures_;  // by benchmark name
  std::vector<std::string> order_;          // names as first reported
};
