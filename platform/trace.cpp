#include "platform/trace.h"

#include "platform/backend.h"

void TraceEvent(const std::string& event) {
  if (platform::HasBackend()) platform::CurrentBackend().Trace(event);
}
