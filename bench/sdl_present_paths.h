// The ways a frame can reach the window, for measurements: the game's own
// path and SDL's, behind the same platform API.
#pragma once

#include "platform/sdl/sdl_settings.h"

namespace platform {
class Backend;
}

enum class SdlPresentPath {
  kOwnScaler,             // what the game does: window surface without SDL's framebuffer acceleration, our scaler
  kOwnScalerSdlDefaults,  // window surface with SDL's default hints, our scaler
  kSdlRenderer,           // SDL's renderer scales a streaming texture
};

// A new SDL backend presenting by path, owned by the caller. SDL's hints
// are process-wide: one path per process.
platform::Backend* MakeSdlBackend(SdlPresentPath path, const platform::SdlSettings& settings = {});
