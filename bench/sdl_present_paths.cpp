#include "bench/sdl_present_paths.h"

#include <dlfcn.h>

#include "platform/sdl/sdl_backend.h"

namespace {

long picturesShown = 0;

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

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

extern "C" {
int XShmPutImage(void* display, unsigned long drawable, void* gc, void* image, int srcX, int srcY, int dstX, int dstY,
                 unsigned int width, unsigned int height, int sendEvent) {
  using Fn = int (*)(void*, unsigned long, void*, void*, int, int, int, int, unsigned int, unsigned int, int);
  static Fn next = Next<Fn>("XShmPutImage");
  ++picturesShown;
  return next(display, drawable, gc, image, srcX, srcY, dstX, dstY, width, height, sendEvent);
}
int SDL_UpdateWindowSurface(SDL_Window* window) {
  static auto next = Next<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface");
  ++picturesShown;
  return next(window);
}
int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  static auto next = Next<int (*)(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects");
  ++picturesShown;
  return next(window, rects, count);
}
void SDL_RenderPresent(SDL_Renderer* renderer) {
  static auto next = Next<void (*)(SDL_Renderer*)>("SDL_RenderPresent");
  ++picturesShown;
  next(renderer);
}
}

long PicturesShown() { return picturesShown; }

void TakeFocusAway() {
  // Told as the system tells it: a focus-lost event for the game's window
  // (under a bare X server nobody hands the focus around).
  for (Uint32 id = 1; id < 16; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (window == nullptr || SDL_strcmp(SDL_GetWindowTitle(window), "Stakko") != 0) continue;
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    event.window.windowID = id;
    SDL_PushEvent(&event);
  }
}

void GiveFocusBack() {
  for (Uint32 id = 1; id < 16; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (window == nullptr || SDL_strcmp(SDL_GetWindowTitle(window), "Stakko") != 0) continue;
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    event.window.windowID = id;
    SDL_PushEvent(&event);
  }
}
