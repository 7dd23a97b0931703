#pragma once

namespace canny::detail {
// The process's worker threads, started on first use and kept for the life
// of the process, so that a call split over the cores does not pay for
// starting threads.

// Runs run(body, part) once for every part from 0 to parts - 1 and returns
// when all are done. The calling thread takes parts too, so every part runs
// even when no worker can be had. While the workers serve one call, a call
// from another thread (or from inside a part) runs all its parts on its own
// thread. `run` must not throw.
void runOnWorkers(int parts, void (*run)(const void *body, int part), const void *body);

}  // namespace canny::detail
