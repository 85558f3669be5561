// Frames per second of the real window, the pictures that reach the screen,
// and the cost of one keyboard snapshot.
//
// The game moves by a fixed step per frame. Without a pace it presents
// every frame as fast as it can, so the frame rate is the game's speed;
// with --fps N it should run N frames a second whatever the screen, showing
// at most the display's refresh rate of pictures. This program opens the
// real window through the platform API (with the SDL backend) and times,
// each for a few seconds of wall time:
//   flip   FlipFrame alone: pumping events and presenting the back buffer;
//   play   a frame built like the play screen: grey clear, 25 one-glyph
//          drawing sessions, one session with 4 numbers and 81 jewel blits,
//          FlipFrame, black clear and one ExamineKeys;
//   wave   a frame of the title wave: black clear, 480 one-row cuts each
//          drawn in its own session and released, FlipFrame, ExamineKeys;
//   keys   one ExamineKeys (the particle screen takes 60 of them a frame).
//
//   framerate_measure [--seconds S] [--fps N] [--unfocused]
//       [--path fill|integer|gpu|sdl-defaults|renderer|cpu|all]
//
// The paths are the game's own presenters (--present cpu with --scale fill
// or integer, --present gpu) and, for comparison, SDL's defaults:
// "sdl-defaults" is our scaler onto the window surface with SDL's default
// hints (on X11 that surface is an OpenGL texture behind the scenes),
// "renderer" the graphics card's presenter with those defaults. "cpu" runs
// fill and integer, "all" all but "gpu", each in a child process of its
// own, since SDL's hints are process-wide. --unfocused gives the focus to
// another window first, as a player who switched away. bench/run_framerate.sh
// runs them under Xvfb at several screen sizes.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/bitmap_file.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "bench/sdl_present_paths.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Pictures {
  ImageId title = 0;
  ImageId jewels[7] = {};
  ImageId glyphs[26] = {};
};

// Pictures like the game's, made here so the measurement needs no assets.
Pictures MakePictures(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::vector<uint32_t> title(640 * 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      title[static_cast<size_t>(y) * 640 + x] =
          (static_cast<uint32_t>(x * 255 / 639) << 16) | (static_cast<uint32_t>(y * 255 / 479) << 8) | 0x40u;
  std::vector<uint32_t> sheet(224 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 224; ++x) sheet[static_cast<size_t>(y) * 224 + x] = 0x101010u * static_cast<uint32_t>(x / 32 + 1) + static_cast<uint32_t>(y);
  std::vector<uint32_t> font(26 * 24 * 24);
  for (size_t i = 0; i < font.size(); ++i) font[i] = (i % 7 == 0) ? 0xFFFFFFu : 0u;
  platform::WriteBitmap24((dir / "title.bmp").string(), title.data(), 640, 480);
  platform::WriteBitmap24((dir / "jewels.bmp").string(), sheet.data(), 224, 32);
  platform::WriteBitmap24((dir / "font.bmp").string(), font.data(), 26 * 24, 24);
  Pictures p;
  p.title = LoadImageFile((dir / "title.bmp").string());
  ImageId jewelSheet = LoadImageFile((dir / "jewels.bmp").string());
  ImageId fontSheet = LoadImageFile((dir / "font.bmp").string());
  for (int i = 0; i < 7; ++i) p.jewels[i] = CutImage(jewelSheet, 32 * i, 0, 32, 32);
  for (int i = 0; i < 26; ++i) p.glyphs[i] = CutImage(fontSheet, 24 * i, 0, 24, 24);
  return p;
}

void PlayLikeFrame(const Pictures& p, int frame) {
  ClearBackBuffer(MakeColour(235, 235, 235));
  // The captions: one drawing session per glyph, as the bitmap font does.
  for (int g = 0; g < 25; ++g) {
    BeginScreenDrawing();
    BlitImage(p.glyphs[g], 420 + (g % 5) * 24, 50 + (g / 5) * 100);
    EndScreenDrawing();
  }
  BeginScreenDrawing();
  SetPenColour(MakeColour(255, 255, 255));
  SetPaintMode(PaintInvert);
  for (int i = 0; i < 4; ++i) DrawTextAt(450, 80 + 100 * i, std::to_string(frame + i));
  SetPaintMode(PaintTransparentText);
  for (int x = 0; x < 6; ++x)
    for (int y = 1; y <= 12; ++y) BlitImage(p.jewels[(x + y) % 7], 224 + 32 * x, 55 + 32 * y);
  for (int k = 0; k < 3; ++k) BlitImage(p.jewels[k + 1], 320, (frame / 50) % 400 + 32 * k);
  for (int k = 0; k < 3; ++k) BlitImage(p.jewels[k + 4], 188, 58 + 32 * k);
  EndScreenDrawing();
  FlipFrame();
  ClearBackBuffer(0);
  ExamineKeys();
}

void WaveFrame(const Pictures& p, float& phase, float amplitude) {
  ClearBackBuffer(0);
  for (int r = 0; r < 480; ++r) {
    ImageId strip = CutImage(p.title, 0, r, 640, 1);
    int offset = static_cast<int>(std::nearbyint(std::sin(phase) * amplitude));
    BeginScreenDrawing();
    BlitImage(strip, offset, r);
    EndScreenDrawing();
    ReleaseImage(strip);
    phase += 0.25f;
  }
  FlipFrame();
  ExamineKeys();
}

// Processor time used so far, in seconds, by this process and by the X
// server (whose process id run_framerate.sh passes with --server-pid): on a
// shared machine the wall clock measures the other work as much as ours,
// while the processor time a frame takes does not depend on it.
int serverPid = 0;

double ProcessSeconds(const std::string& statPath) {
  FILE* f = std::fopen(statPath.c_str(), "r");
  if (f == nullptr) return 0.0;
  char buffer[1024] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  const char* p = std::strrchr(buffer, ')');  // the name may hold spaces
  if (p == nullptr) return 0.0;
  unsigned long utime = 0;
  unsigned long stime = 0;
  // Fields after the name: state, then 10 numbers, then utime and stime.
  if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) return 0.0;
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Cost {
  double fps = 0.0;          // unpaced: the best round; paced: all rounds together
  double pictures = 0.0;     // pictures shown a second, all rounds together
  double gameCpu = 0.0;      // the game's processor time over wall time (1.0: one core)
  double cpuMsFrame = 0.0;   // processor ms per frame, game and X server
  double serverMsFrame = 0.0;  // the X server's part of it
};

bool paced = false;

// Calls per second of fn. The machine may be shared, so without a pace the
// time is split into rounds and the best round counts: contention only ever
// slows a round down. With a pace the rate over the whole time is the
// figure (the pace must hold it, not reach it once). The processor time per
// call is counted over all rounds.
template <typename Fn>
Cost Rate(double seconds, Fn&& fn, long& count) {
  constexpr int kRounds = 5;
  Cost cost;
  count = 0;
  const std::string server = "/proc/" + std::to_string(serverPid) + "/stat";
  const double serverStart = serverPid > 0 ? ProcessSeconds(server) : 0.0;
  const double gameStart = ProcessSeconds("/proc/self/stat");
  const long picturesStart = PicturesShown();
  const auto begin = Clock::now();
  for (int round = 0; round < kRounds; ++round) {
    long n = 0;
    const auto start = Clock::now();
    const auto until = start + std::chrono::duration<double>(seconds / kRounds);
    auto now = start;
    do {
      fn(count + n++);
      now = Clock::now();
    } while (now < until);
    count += n;
    cost.fps = std::max(cost.fps, static_cast<double>(n) / std::chrono::duration<double>(now - start).count());
  }
  const double wall = std::chrono::duration<double>(Clock::now() - begin).count();
  const double serverEnd = serverPid > 0 ? ProcessSeconds(server) : 0.0;
  const double gameEnd = ProcessSeconds("/proc/self/stat");
  if (paced) cost.fps = static_cast<double>(count) / wall;
  cost.pictures = static_cast<double>(PicturesShown() - picturesStart) / wall;
  cost.gameCpu = (gameEnd - gameStart) / wall;
  if (count > 0) {
    cost.cpuMsFrame = (gameEnd - gameStart + serverEnd - serverStart) * 1000.0 / static_cast<double>(count);
    cost.serverMsFrame = (serverEnd - serverStart) * 1000.0 / static_cast<double>(count);
  }
  return cost;
}

void Print(const char* name, const char* scene, const Cost& c) {
  std::printf("%-12s %-5s %8.1f frames/s %7.1f pictures/s  game cpu %5.1f%%  %6.3f cpu-ms/frame (X %5.3f)\n", name,
              scene, c.fps, c.pictures, 100.0 * c.gameCpu, c.cpuMsFrame, c.serverMsFrame);
}

int RunOne(SdlPresentPath path, const char* name, double seconds, bool unfocused, platform::SdlSettings settings) {
  paced = settings.fps > 0;
  std::unique_ptr<platform::Backend> backend(MakeSdlBackend(path, settings));
  platform::SetBackend(backend.get());
  if (StartKeyboard() == 0 || StartScreenSystem() == 0 || OpenGameScreen(640, 480, 32, "Stakko", 0) == 0) {
    std::fprintf(stderr, "framerate_measure: no window (is DISPLAY set?)\n");
    return 2;
  }
  const auto dir = std::filesystem::temp_directory_path() / ("stakko-bench-" + std::to_string(getpid()));
  const Pictures pictures = MakePictures(dir);
  std::filesystem::remove_all(dir);

  // A short warm-up lets the window reach its final size (and the focus SDL
  // hands it a moment later) first; after a loss of focus, another.
  long count = 0;
  Rate(0.3, [](long) { FlipFrame(); }, count);
  if (unfocused) {
    TakeFocusAway();
    Rate(0.3, [](long) { FlipFrame(); }, count);
  }
  if (unfocused && backend->WindowActive()) std::fprintf(stderr, "framerate_measure: the window kept the focus\n");

  const Cost flip = Rate(seconds, [](long) { FlipFrame(); }, count);
  const Cost play = Rate(seconds, [&](long f) { PlayLikeFrame(pictures, static_cast<int>(f)); }, count);
  float phase = 0.0f;
  const Cost wave = Rate(seconds, [&](long f) { WaveFrame(pictures, phase, 20.0f - 0.5f * static_cast<float>(f % 40)); }, count);
  // Key reads with no frame between them are a wait, which the pace spaces
  // out: the snapshot's own cost is measured unpaced only.
  long keyCount = 0;
  const double keys = paced ? 0.0 : Rate(std::min(seconds, 1.0), [](long) { ExamineKeys(); }, keyCount).fps;

  const std::string label = std::string(name) + (unfocused ? "/away" : "");
  Print(label.c_str(), "flip", flip);
  Print(label.c_str(), "play", play);
  Print(label.c_str(), "wave", wave);
  if (keys > 0.0) std::printf("%-12s keys  %5.2f us a snapshot\n", label.c_str(), 1e6 / keys);
  std::fflush(stdout);
  if (unfocused) GiveFocusBack();
  CloseGameScreen();
  StopScreenSystem();
  StopKeyboard();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 2.0;
  std::string path = "all";
  platform::SdlSettings settings;
  bool unfocused = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--server-pid") == 0 && i + 1 < argc) {
      serverPid = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--fps") == 0 && i + 1 < argc) {
      settings.fps = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--unfocused") == 0) {
      unfocused = true;
    } else if (std::strcmp(argv[i], "--path") == 0 && i + 1 < argc) {
      path = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: %s [--seconds S] [--fps N] [--unfocused] [--path fill|integer|gpu|sdl-defaults|renderer|cpu|all]\n",
                   argv[0]);
      return 2;
    }
  }
  if (seconds <= 0.0) seconds = 2.0;
  using platform::PresentChoice;
  using platform::ScaleChoice;
  struct Named {
    const char* name;
    SdlPresentPath hints;
    PresentChoice present;
    ScaleChoice scale;
  };
  const Named paths[] = {
      {"fill", SdlPresentPath::kGame, PresentChoice::kCpu, ScaleChoice::kFill},
      {"integer", SdlPresentPath::kGame, PresentChoice::kCpu, ScaleChoice::kInteger},
      {"gpu", SdlPresentPath::kGame, PresentChoice::kGpu, ScaleChoice::kFill},
      {"sdl-defaults", SdlPresentPath::kSdlDefaults, PresentChoice::kCpu, ScaleChoice::kFill},
      {"renderer", SdlPresentPath::kSdlDefaults, PresentChoice::kGpu, ScaleChoice::kFill},
  };
  for (const Named& p : paths) {
    if (path != p.name) continue;
    settings.present = p.present;
    settings.scale = p.scale;
    return RunOne(p.hints, p.name, seconds, unfocused, settings);
  }
  if (path != "all" && path != "cpu") {
    std::fprintf(stderr, "unknown path %s\n", path.c_str());
    return 2;
  }
  int worst = 0;
  std::vector<const char*> children = {"fill", "integer"};
  if (path == "all") children.insert(children.end(), {"sdl-defaults", "renderer"});
  for (const char* each : children) {
    const std::string cmd = "'" + std::string(argv[0]) + "' --seconds " + std::to_string(seconds) + " --path " + each +
                            " --fps " + std::to_string(settings.fps) + (unfocused ? " --unfocused" : "") +
                            " --server-pid " + std::to_string(serverPid);
    int rc = std::system(cmd.c_str());
    if (rc != 0) worst = 1;
  }
  return worst;
}
