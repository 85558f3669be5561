// Ending the process: the game's own end, and the end a desktop or terminal
// asks for with a signal.
#pragma once

[[noreturn]] void EndProcess(int exitCode);

namespace platform {

// From here on SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, logout) ask the
// game to stop instead of killing it in the middle of a frame. Only the
// real game installs this; without it the system's default stands.
void InstallStopSignals();

// What carrying out a stop does: the game's own end with the given status.
// Until one is set, the process simply ends with it.
void SetStopAction(void (*endWithStatus)(int exitCode));

}  // namespace platform
