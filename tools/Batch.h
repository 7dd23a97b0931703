#pragma once
// Many pictures in one run: each input's edge map goes to the output folder
// under the input's name with the format's extension, in parallel over the
// CPUs (or as many workers as --jobs says), one detector (and its working
// memory) and one picture's memory per worker.
#include <functional>

#include "tools/Failure.h"
#include "tools/Options.h"

// Writes every edge map it can; each failed input is reported (one line on
// standard error) and the others are still done. A progress line is kept on
// standard error when it is a terminal. Returns the exit status: 0, or 1 if
// any input failed.
int runBatch(const Options &options, const std::function<void(const Failure &)> &report);
