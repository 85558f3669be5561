#include "platform/process.h"

#include <cstdlib>

#include "platform/backend.h"

void EndProcess(int exitCode) {
  platform::CurrentBackend().EndProcess(exitCode);
  std::abort();  // a backend's EndProcess never comes back
}
