#include "bench/sdl_present_paths.h"

#include "platform/sdl/sdl_backend.h"

namespace {

// Undoes the game's framebuffer hint: an overriding "unset" wins over the
// ordinary-priority setting the window makes when video starts.
void KeepSdlDefaultFramebuffer() {
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, nullptr, SDL_HINT_OVERRIDE);
}

class SdlDefaultsBackend : public platform::SdlBackend {
 public:
  explicit SdlDefaultsBackend(const platform::SdlSettings& settings) : SdlBackend(settings) {}
  bool StartVideo() override {
    KeepSdlDefaultFramebuffer();
    return SdlBackend::StartVideo();
  }
};

class SdlRendererBackend : public SdlDefaultsBackend {
 public:
  using SdlDefaultsBackend::SdlDefaultsBackend;
  bool Present(const uint32_t* pixels, int width, int height) override {
    return window().PresentWithRenderer(pixels, width, height);
  }
};

}  // namespace

platform::Backend* MakeSdlBackend(SdlPresentPath path, const platform::SdlSettings& settings) {
  switch (path) {
    case SdlPresentPath::kOwnScalerSdlDefaults:
      return new SdlDefaultsBackend(settings);
    case SdlPresentPath::kSdlRenderer:
      return new SdlRendererBackend(settings);
    case SdlPresentPath::kOwnScaler:
    default:
      return new platform::SdlBackend(settings);
  }
}
