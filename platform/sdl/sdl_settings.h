// How the player asked the game to show itself and to pace its frames (the
// command line's options). The defaults are the game started plainly.
#pragma once

namespace platform {

enum class PresentChoice { kAuto, kGpu, kCpu };
enum class ScaleChoice { kFill, kInteger };

struct SdlSettings {
  PresentChoice present = PresentChoice::kAuto;
  ScaleChoice scale = ScaleChoice::kFill;
  bool window = false;  // start in a window instead of fullscreen
  int fps = 0;          // presented frames a second at most; 0: no limit
  bool verbose = false;  // say on stderr which presentation was chosen
  // For measurements only: hand the whole window surface to the display
  // every frame, as the game once did.
  bool wholeSurface = false;
};

}  // namespace platform
