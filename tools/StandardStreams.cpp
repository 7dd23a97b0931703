#include "tools/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <bitset>

namespace {
// Descriptors from here on are far above any Qt opens; they are taken as they are.
constexpr int kRecorded = 1024;
std::bitset<kRecorded> openAtStart;
}  // namespace

void guardStandardStreams() {
  for (int descriptor = 0; descriptor < kRecorded; ++descriptor)
    openAtStart[descriptor] = fcntl(descriptor, F_GETFD) != -1;
  for (int descriptor = 0; descriptor < 3; ++descriptor) {
    if (openAtStart[descriptor]) continue;
    // The lowest free number is this one, the ones below being open.
    open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
  }
}

bool standardStreamWasClosed(int descriptor) {
  return descriptor >= 0 && descriptor < 3 && !openAtStart[descriptor];
}

bool passedOpen(int descriptor) {
  if (descriptor >= kRecorded) return fcntl(descriptor, F_GETFD) != -1;
  return descriptor >= 0 && openAtStart[descriptor];
}
