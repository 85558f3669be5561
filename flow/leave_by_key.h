// How a waiting screen is left from the keyboard: the attract screens, the
// high-score table and the game over's closing wait all go by this rule.
#pragma once

// Takes a keyboard snapshot and leaves the screen when Escape (to the exit
// dialog, remembering the screen) or Space (to a new game) is held; Escape
// wins. Returns true when the caller must return at once.
bool LeaveScreenByKey();
