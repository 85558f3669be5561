// The stop signals below the game-facing platform/process.h: where the
// screen and input carry out a stop, the modal wait that ends at once, and
// the stop tests ask for. Platform-internal.
#pragma once

namespace platform {

// A stop asked for by signal n is carried out at the next frame or input
// read: sound, keyboard, mouse and screen are stopped as at the game's own
// end, and the process ends with status 128 + n. A save runs to its end
// before that, since it reads no input and presents no frame.
void EndIfStopRequested();

// While set, the game waits in a modal box of the system's, where no frame
// or input read comes; a stop signal then ends the process at once (nothing
// is being saved there).
void SetBlockingWait(bool waiting);

// The player closed the window: carried out like a stop signal (at the
// next frame or input read, a save finished first), but ending with
// exitCode, as the exit dialog's "Yes" does.
void RequestEnd(int exitCode);

// For tests: a stop as if signal n had arrived (0 clears it).
void RequestStop(int signalNumber);

}  // namespace platform
