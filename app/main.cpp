// The game's executable: the real game over SDL2.
#define SDL_MAIN_HANDLED
#include <cstdio>
#include <string>

#include "app/options.h"
#include "app/replay_modes.h"
#include "flow/startup.h"
#include "platform/process.h"
#include "platform/sdl/sdl_backend.h"
#include "replay/game_hooks.h"

int main(int argc, char** argv) {
  platform::SdlSettings settings;
  std::string error;
  ReplayRequest replayRequest;
  if (!TakeReplayOptions(argc, argv, replayRequest, error)) {
    std::fprintf(stderr, "stakko: %s\nTry 'stakko --help' for the options.\n", error.c_str());
    return 2;
  }
  switch (ReadCommandLine(argc, argv, settings, error)) {
    case CommandLine::kHelp:
      std::fputs(HelpText(), stdout);
      return 0;
    case CommandLine::kRefused:
      std::fprintf(stderr, "stakko: %s\nTry 'stakko --help' for the options.\n", error.c_str());
      return 2;
    case CommandLine::kPlay:
      break;
  }
  // Proving the table needs no window: the replays run headless.
  if (replayRequest.verifyTable) return VerifyTable();
  SDL_SetMainReady();
  // SDL would turn SIGINT and SIGTERM into a quit event, which the game
  // ignores as it ignores a window's close button; our own handlers end the
  // game properly instead.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  platform::InstallStopSignals();
  static platform::SdlBackend backend(settings);
  if (!replayRequest.watch.empty()) {
    platform::SetBackend(&backend);
    WatchReplay(backend, replayRequest.watch);
  }
  // Every game is recorded as it is played and kept in Replays.
  static replay::RecordingBackend recorder(backend, replay::GameRecorderHooks(&replay::KeepInReplaysFolder));
  platform::SetBackend(&recorder);
  GameMain();
}
