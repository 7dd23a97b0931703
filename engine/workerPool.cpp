#include "engine/workerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/parallel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ENGINE_SPIN_PAUSE() _mm_pause()
#else
#define ENGINE_SPIN_PAUSE() std::atomic_signal_fence(std::memory_order_seq_cst)
#endif

namespace canny::detail {

namespace {

using Clock = std::chrono::steady_clock;

// A detector call runs several split passes a few microseconds apart: a worker
// that has just finished watches for the next one this long before it sleeps,
// which costs a kernel call to wake from.
constexpr auto kWatchBeforeSleep = std::chrono::microseconds(50);
// The caller, having done its own parts, expects the others about as soon.
constexpr auto kWatchBeforeWaiting = std::chrono::microseconds(20);

// Spins until done() or until `span` has passed; true when done.
template <typename Done>
bool watch(Clock::duration span, const Done &done) {
  const Clock::time_point end = Clock::now() + span;
  for (int i = 0;; ++i) {
    if (done()) return true;
    ENGINE_SPIN_PAUSE();
    if (i % 16 == 15 && Clock::now() > end) return done();
  }
}

// Which call's parts are being handed out: the call's number, its part count
// and the next part not yet taken, in one word so that taking a part checks
// all three at once.
struct Claim {
  std::uint32_t call;
  std::uint16_t parts, next;
};
std::uint64_t pack(Claim c) {
  return std::uint64_t{c.call} << 32 | std::uint64_t{c.parts} << 16 | c.next;
}
Claim unpack(std::uint64_t word) {
  return {static_cast<std::uint32_t>(word >> 32), static_cast<std::uint16_t>(word >> 16),
          static_cast<std::uint16_t>(word)};
}

class WorkerPool {
 public:
  WorkerPool() { addWorkers(mostParts() - 1); }

  // False when the pool is serving another call.
  bool tryRun(int parts, void (*run)(const void *, int), const void *body) {
    if (_busy.exchange(true, std::memory_order_acquire)) return false;
    // The thread count may have been raised since; new workers wait for the
    // call below like the others.
    addWorkers(std::min(parts, kMostThreads) - 1);
    _run = run;
    _body = body;
    _finished.store(0, std::memory_order_relaxed);
    const std::uint32_t call = _call.load(std::memory_order_relaxed) + 1;
    _claim.store(pack({call, static_cast<std::uint16_t>(parts), 0}), std::memory_order_release);
    _call.store(call, std::memory_order_release);
    _call.notify_all();
    takeParts();
    waitForAll(parts);
    _busy.store(false, std::memory_order_release);
    return true;
  }

 private:
  // Up to `workers` threads in all; as many as can be had.
  void addWorkers(int workers) {
    try {
      while (static_cast<int>(_threads.size()) < workers)
        _threads.emplace_back([this] { serve(); });
    } catch (const std::bad_alloc &) {
    } catch (const std::system_error &) {
    }
  }

  // Runs parts of the current call until none is left to take.
  void takeParts() {
    std::uint64_t word = _claim.load(std::memory_order_acquire);
    for (;;) {
      const Claim c = unpack(word);
      if (c.next >= c.parts) return;
      const std::uint64_t taken = pack({c.call, c.parts, static_cast<std::uint16_t>(c.next + 1)});
      if (!_claim.compare_exchange_weak(word, taken, std::memory_order_acquire)) continue;
      // The caller waits for this part, so the call's body stays valid until
      // it is counted as finished.
      _run(_body, c.next);
      if (_finished.fetch_add(1, std::memory_order_release) + 1 == c.parts) _finished.notify_one();
      word = _claim.load(std::memory_order_acquire);
    }
  }

  void waitForAll(int parts) {
    if (watch(kWatchBeforeWaiting,
              [&] { return _finished.load(std::memory_order_acquire) == parts; }))
      return;
    for (int done; (done = _finished.load(std::memory_order_acquire)) != parts;)
      _finished.wait(done, std::memory_order_acquire);
  }

  [[noreturn]] void serve() {
    std::uint32_t seen = _call.load(std::memory_order_acquire);
    for (;;) {
      watch(kWatchBeforeSleep, [&] { return _call.load(std::memory_order_acquire) != seen; });
      _call.wait(seen, std::memory_order_acquire);
      seen = _call.load(std::memory_order_acquire);
      takeParts();
    }
  }

  std::vector<std::thread> _threads;
  std::atomic<bool> _busy{false};
  std::atomic<std::uint32_t> _call{0};
  std::atomic<std::uint64_t> _claim{0};
  std::atomic<int> _finished{0};
  void (*_run)(const void *, int) = nullptr;
  const void *_body = nullptr;
};

WorkerPool *sharedPool() {
  // Made on first use and never destroyed: its threads may still be asleep in
  // it while the process exits.
  static WorkerPool *const pool = [] { return new (std::nothrow) WorkerPool; }();
  return pool;
}

}  // namespace

void runOnWorkers(int parts, void (*run)(const void *, int), const void *body) {
  if (parts > 1 && parts <= 0xffff) {
    WorkerPool *pool = sharedPool();
    if (pool && pool->tryRun(parts, run, body)) return;
  }
  for (int part = 0; part < parts; ++part) run(body, part);
}

}  // namespace canny::detail
