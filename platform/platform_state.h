// Puts every platform service back to "never started"; tests use it between
// cases.
#pragma once

namespace platform {
void ResetAllPlatformState();
}
