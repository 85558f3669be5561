// The one way the game ends.
#pragma once

// Stops every service and ends the process: with 0 when the player chose to
// stop, with 1 after a failed start-up, so launchers and scripts see it
// failed, with 128 + n after stop signal n.
[[noreturn]] void EndProgram(int exitCode = 0);
