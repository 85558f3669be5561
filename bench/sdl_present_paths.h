// The game's SDL backend as the measurements open it: as the game does, or
// with SDL's default hints (its framebuffer acceleration on X11 hides an
// OpenGL upload behind the window surface), kept for comparison.
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
