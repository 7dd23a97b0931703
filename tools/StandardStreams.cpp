#include "tools/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
bool closedAtStart[3] = {false, false, false};
}

void guardStandardStreams() {
  for (int descriptor = 0; descriptor < 3; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) != -1) continue;
    closedAtStart[descriptor] = true;
    // The lowest free number is this one, the ones below being open.
    open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
  }
}

bool standardStreamWasClosed(int descriptor) {
  return descriptor >= 0 && descriptor < 3 && closedAtStart[descriptor];
}
