// How the player asked the game to show itself and to pace its frames (the
// command line's options). The defaults are the game started plainly.
#pragma once

namespace platform {

enum class PresentChoice { kAuto, kGpu, kCpu };
enum class ScaleChoice { kFill, kInteger };
// Where the processor's path draws: for measurements, the older ways can be
// asked for.
enum class CpuTarget {
  kBest,          // an image of the picture's own size where the display has one, else the window surface
  kSurface,       // the window surface, only the picture's rectangle handed over
  kWholeSurface,  // the window surface, all of it handed over every frame, as the game once did
};

struct SdlSettings {
  PresentChoice present = PresentChoice::kAuto;
  ScaleChoice scale = ScaleChoice::kFill;
  bool window = false;  // start in a window instead of fullscreen
  int fps = 0;          // presented frames a second at most; 0: no limit
  bool verbose = false;  // say on stderr which presentation was chosen
  CpuTarget cpuTarget = CpuTarget::kBest;  // for measurements only
  bool sound = true;    // false: no audio device, every sound plays silently
  int volume = 100;     // the whole mix in percent; 100 leaves it as made
  int windowWidth = 0;  // the window's size when windowed; 0: the largest
  int windowHeight = 0; //   whole enlargement that fits the desktop
};

}  // namespace platform
