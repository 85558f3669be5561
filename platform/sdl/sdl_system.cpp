#include "platform/sdl/sdl_system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include "platform/sdl/message_box_windows.h"
#endif

namespace platform {

SdlSystem::SdlSystem() {
  counterOrigin_ = SDL_GetPerformanceCounter();
  counterFrequency_ = SDL_GetPerformanceFrequency();
  if (counterFrequency_ == 0) counterFrequency_ = 1;
}

int64_t SdlSystem::NowMicros() const {
  uint64_t ticks = SDL_GetPerformanceCounter() - counterOrigin_;
  uint64_t whole = ticks / counterFrequency_;
  uint64_t part = ticks % counterFrequency_;
  return static_cast<int64_t>(whole * 1000000u + part * 1000000u / counterFrequency_);
}

uint32_t SdlSystem::AutoSeed() const {
  auto now = std::chrono::system_clock::now().time_since_epoch().count();
  uint64_t mixed = static_cast<uint64_t>(now) ^ SDL_GetPerformanceCounter() ^
                   (reinterpret_cast<uintptr_t>(this) << 7);
  return static_cast<uint32_t>(mixed ^ (mixed >> 32));
}

int SdlSystem::ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags,
                              SDL_Window* parent) const {
#ifdef _WIN32
  (void)parent;
  return ShowWindowsMessageBox(title, text, flags);
#else
  (void)flags;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent) != 0) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  return 1;  // OK
#endif
}

void SdlSystem::EndProcess(int exitCode) const {
  SDL_Quit();
  std::exit(exitCode);
}

}  // namespace platform
