// How the player asked the game to show itself and to pace its frames (the
// command line's options). The defaults are the game started plainly.
#pragma once

#include "platform/fill_scaler.h"

namespace platform {

// The presenters --present picks from: auto times the graphics card
// against the processor where a real card exists.
enum class PresentChoice { kAuto, kGpu, kCpu };

struct SdlSettings {
  PresentChoice present = PresentChoice::kAuto;
  ScaleChoice scale = ScaleChoice::kFill;
  bool window = false;  // start in a window instead of fullscreen
  int fps = 0;          // game frames a second; 0: as fast as frames can be shown
  bool verbose = false;  // say on stderr which presentation was chosen
  bool sound = true;    // false: no audio device, every sound plays silently
  int volume = 100;     // the whole mix in percent; 100 leaves it as made
  int windowWidth = 0;  // the window's size when windowed; 0: the largest
  int windowHeight = 0; //   whole enlargement that fits the desktop
};

}  // namespace platform
