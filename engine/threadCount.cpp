// How many threads the detector uses: set by the program, or by default the
// CPUs this process may run on, after its affinity mask and its cgroup's CPU
// quota, so that a container or a pinned process is not oversubscribed.
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>

#include <canny/canny.h>

#include "engine/parallel.h"

namespace canny {

namespace {

int cpusAllowed() {
#if defined(__EMSCRIPTEN__)
  return 1;  // the browser build has no threads
#else
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) return CPU_COUNT(&set);
  return static_cast<int>(std::thread::hardware_concurrency());  // more CPUs than the mask holds
#endif
}

// The tightest cgroup v2 cpu.max quota on the way from this process's cgroup
// to the root, in CPUs; infinity where none is set.
double cgroupCpuQuota() {
  std::ifstream membership("/proc/self/cgroup");
  std::string line, path;
  while (std::getline(membership, line))
    if (line.rfind("0::", 0) == 0) path = line.substr(3);
  double quota = INFINITY;
  while (!path.empty()) {
    std::ifstream limit("/sys/fs/cgroup" + path + "/cpu.max");
    std::string most;
    double period = 0;
    if (limit >> most >> period && most != "max" && period > 0) {
      try {
        quota = std::min(quota, std::stod(most) / period);
      } catch (...) {
      }
    }
    if (path == "/") break;
    path.erase(std::max<std::size_t>(path.rfind('/'), 1));
  }
  return quota;
}

int defaultThreadCount() {
  int count = cpusAllowed();
  const double quota = cgroupCpuQuota();
  if (quota < count) count = static_cast<int>(std::ceil(quota));
  return std::clamp(count, 1, detail::kMostThreads);
}

// 0 until first asked for: the default is looked up once, not on every call.
std::atomic<int> gThreadCount{0};

}  // namespace

void setThreadCount(int count) {
  gThreadCount.store(count > 0 ? std::min(count, detail::kMostThreads) : defaultThreadCount());
}

int threadCount() {
  int count = gThreadCount.load(std::memory_order_relaxed);
  if (count == 0) {
    count = defaultThreadCount();
    int unset = 0;
    if (!gThreadCount.compare_exchange_strong(unset, count)) count = unset;
  }
  return count;
}

}  // namespace canny
