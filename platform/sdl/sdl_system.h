// What the game asks of the system besides window, input and sound: the
// clock, a seed that differs between runs, a message box and the process's
// end.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace platform {

class SdlSystem {
 public:
  SdlSystem();

  // Microseconds since this object was made, from SDL's performance counter.
  int64_t NowMicros() const;
  uint32_t AutoSeed() const;
  // Shown over parent (which may be null); written to stderr when no box can
  // be shown. Returns 1 (OK).
  int ShowMessageBox(const std::string& title, const std::string& text, uint32_t flags, SDL_Window* parent) const;
  [[noreturn]] void EndProcess(int exitCode) const;

 private:
  uint64_t counterOrigin_ = 0;
  uint64_t counterFrequency_ = 1;
};

}  // namespace platform
