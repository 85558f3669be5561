// Ending the process: the game's own end, and the end a desktop or terminal
// asks for with a signal.
#pragma once

[[noreturn]] void EndProcess(int exitCode);

namespace platform {

// From here on SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, logout) ask the
// game to stop instead of killing it in the middle of a frame. Only the
// real game installs this; without it the system's default stands.
void InstallStopSignals();

// A stop asked for by signal n is carried out at the next frame or input
// read: sound, keyboard, mouse and screen are stopped as at the game's own
// end, and the process ends with status 128 + n. A save runs to its end
// before that, since it reads no input and presents no frame.
void EndIfStopRequested();

// What carrying out a stop does: the game's own end with the given status.
// Until one is set, the process simply ends with it.
void SetStopAction(void (*endWithStatus)(int exitCode));

// For tests: a stop as if signal n had arrived (0 clears it).
void RequestStop(int signalNumber);

// While set, the game waits in a modal box of the system's, where no frame
// or input read comes; a stop signal then ends the process at once (nothing
// is being saved there).
void SetBlockingWait(bool waiting);

}  // namespace platform
