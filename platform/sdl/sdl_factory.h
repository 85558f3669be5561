// Making the SDL backend without seeing SDL: for programs (measurements)
// that only speak the platform API.
#pragma once

namespace platform {

class Backend;

// How frames reach the window. The game always uses kOwnScaler; the others
// exist so that measurements can compare against SDL's own paths.
enum class SdlPresentPath {
  kOwnScaler,             // window surface without SDL's framebuffer acceleration, our scaler
  kOwnScalerSdlDefaults,  // window surface with SDL's default hints, our scaler
  kSdlRenderer,           // SDL's renderer scales a streaming texture
};

// A new SDL backend, owned by the caller. Install it with SetBackend.
Backend* MakeSdlBackend(SdlPresentPath path = SdlPresentPath::kOwnScaler);

}  // namespace platform
