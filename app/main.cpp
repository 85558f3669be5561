// The game's executable: the real game over SDL2.
#define SDL_MAIN_HANDLED
#include <cstdio>
#include <string>

#include "app/game_folder.h"
#include "app/options.h"
#include "app/replay_modes.h"
#include "app/settings_file.h"
#include "flow/main_loop.h"
#include "platform/option_text.h"
#include "platform/process.h"
#include "platform/sdl/sdl_backend.h"
#include "replay/game_hooks.h"

int main(int argc, char** argv) {
  platform::SdlSettings settings;
  std::string error;
  ReplayRequest replayRequest;
  if (!TakeReplayOptions(argc, argv, replayRequest, error)) {
    std::fprintf(stderr, "stakko: %s\nTry 'stakko --help' for the options.\n", platform::Printable(error).c_str());
    return 2;
  }
  RunRequests requests;
  // Help, the version and a refused option read and write no file.
  const CommandLine asked = ReadCommandLine(argc, argv, settings, error, &requests);
  // The launcher asks first, silently, before it makes the player's folder.
  if (requests.checkOnly) return asked == CommandLine::kPlay ? 0 : 1;
  switch (asked) {
    case CommandLine::kHelp:
      std::fputs(HelpText(), stdout);
      return 0;
    case CommandLine::kVersion:
      std::puts("stakko " STAKKO_VERSION);
      return 0;
    case CommandLine::kRefused:
      std::fprintf(stderr, "stakko: %s\nTry 'stakko --help' for the options.\n",
                   platform::Printable(error).c_str());
      return 2;
    case CommandLine::kPlay:
      break;
  }
  if (!EnterGameFolder()) return 1;

  // The settings file's choices, then the command line's over them.
  static SettingsFile file(SettingsPath());
  file.Load();
  settings = platform::SdlSettings();
  ApplySettings(file.Stored(), settings);
  ReadCommandLine(argc, argv, settings, error);
  if (requests.saveSettings) file.Save(SettingsOfRun(settings));

  // Proving the table needs no window: the replays run headless.
  if (replayRequest.verifyTable) return VerifyTable();
  SDL_SetMainReady();
  // SDL would turn SIGINT and SIGTERM into a quit event, which would end
  // the game as the window's close button does; our own handlers end it
  // with the signal's status instead.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  platform::InstallStopSignals();
  static platform::SdlBackend backend(settings);
  backend.OnWindowModeChange([](bool windowed) { file.RememberWindowed(windowed); });
  if (!replayRequest.watch.empty()) {
    platform::SetBackend(&backend);
    WatchReplay(backend, replayRequest.watch);
  }
  // Every game is recorded as it is played and kept in Replays.
  static replay::RecordingBackend recorder(backend, replay::GameRecorderHooks(&replay::KeepInReplaysFolder));
  platform::SetBackend(&recorder);
  GameMain();
}
