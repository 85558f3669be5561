// The game's SDL backend as the measurements open it: as the game does, or
// with SDL's default hints (its framebuffer acceleration on X11 hides an
// OpenGL upload behind the window surface), kept for comparison; and what
// the measurements need of SDL besides.
#pragma once

#include "platform/sdl/sdl_settings.h"

namespace platform {
class Backend;
}

enum class SdlPresentPath {
  kGame,         // the game's own hints
  kSdlDefaults,  // SDL's default hints
};

// A new SDL backend, owned by the caller. SDL's hints are process-wide: one
// path per process.
platform::Backend* MakeSdlBackend(SdlPresentPath path, const platform::SdlSettings& settings = {});

// Pictures handed to the display so far: every presenter's way there ends
// in a call this file takes over (its definitions win over the shared
// libraries') to count it before passing it on.
long PicturesShown();

// The game's window loses the focus, as when the player switches away (its
// frames go on, unshown), and gets it back.
void TakeFocusAway();
void GiveFocusBack();
