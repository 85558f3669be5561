// The browser build only: a page gets its keys, pointer, sound and painting
// only while the game hands the browser its turn (Asyncify unwinds the game
// and resumes it from a timer). Every turn costs a timer's delay, at best a
// millisecond and often four, so the game hands it over when it waits for
// a frame's slot anyway, and otherwise only as often as a 60 Hz display
// paints.
#pragma once

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

namespace platform {

inline double& LastPageTurnMs() {
  static double at = 0;
  return at;
}

// The browser's turn, for at least `ms` milliseconds.
inline void HandPageItsTurn(unsigned ms) {
  emscripten_sleep(ms);
  LastPageTurnMs() = emscripten_get_now();
}

// Whether a picture handed over at `ms` (emscripten_get_now) is still to be
// painted: the browser paints only in its turns, so until the next one a
// further picture would only replace it unseen.
inline bool PageStillToPaint(double ms) { return ms > LastPageTurnMs(); }

// The browser's turn if it has not had one for `ms` milliseconds.
inline void HandPageItsTurnAfter(double ms) {
  if (emscripten_get_now() - LastPageTurnMs() >= ms) HandPageItsTurn(0);
}

}  // namespace platform
#endif
