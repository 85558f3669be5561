#include "platform/backend.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
Backend* installed = nullptr;
}

Backend& CurrentBackend() {
  if (installed == nullptr) {
    std::fputs("stakko: no platform backend installed\n", stderr);
    std::abort();
  }
  return *installed;
}

void SetBackend(Backend* backend) { installed = backend; }
bool HasBackend() { return installed != nullptr; }

}  // namespace platform
