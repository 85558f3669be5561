#include "bench/sdl_present_paths.h"

#include "platform/sdl/sdl_backend.h"

namespace {

// Undoes the game's framebuffer hint: an overriding "unset" wins over the
// ordinary-priority setting the window makes when video starts.
class SdlDefaultsBackend : public platform::SdlBackend {
 public:
  explicit SdlDefaultsBackend(const platform::SdlSettings& settings) : SdlBackend(settings) {}
  bool StartVideo() override {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, nullptr, SDL_HINT_OVERRIDE);
    return SdlBackend::StartVideo();
  }
};

}  // namespace

platform::Backend* MakeSdlBackend(SdlPresentPath path, const platform::SdlSettings& settings) {
  if (path == SdlPresentPath::kSdlDefaults) return new SdlDefaultsBackend(settings);
  return new platform::SdlBackend(settings);
}
