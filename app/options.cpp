#include "app/options.h"

#include "app/settings_text.h"
#include "platform/option_text.h"

namespace {

#ifdef _WIN32
#define SETTINGS_AT "settings.ini beside stakko.exe"
#else
#define SETTINGS_AT "$XDG_CONFIG_HOME/stakko/settings.ini\n(by default ~/.config/stakko/settings.ini)"
#endif

const char kHelp[] =
    "Usage: stakko [OPTION]...\n"
    "Stakko, the falling-jewels puzzle game. Started without options it plays\n"
    "fullscreen, as large as the screen allows, at full speed.\n"
    "\n"
    "  --window             start in a resizable window (the largest whole\n"
    "                       enlargement that fits); Alt+Enter switches between\n"
    "                       window and fullscreen at any time\n"
    "  --fullscreen         start fullscreen, whatever the settings file says\n"
    "  --scale fill|integer fill: the largest 4:3 area of the screen (default);\n"
    "                       integer: the largest whole enlargement, sharper on\n"
    "                       screens that are not a multiple of 640x480\n"
    "  --present auto|gpu|cpu\n"
    "                       how frames reach the screen: the graphics card's\n"
    "                       renderer, the processor, or auto (default): the\n"
    "                       graphics card only where it is a real one and\n"
    "                       faster, measured at start-up\n"
    "  --fps N              run N game frames a second on every screen, sleeping\n"
    "                       between them; pictures reach the display at most at\n"
    "                       its refresh rate. The game moves a fixed step every\n"
    "                       frame, so N is the speed of play: 1000 gives a\n"
    "                       steady game for about a fifth of a processor core.\n"
    "                       0 (default): as fast as frames can be shown\n"
    "  --size WxH           the window's size when windowed\n"
    "  --no-sound           play silently, without opening the sound device\n"
    "  --volume N           the whole mix at N percent (0..100, default 100)\n"
    "  --verbose            say on the standard error which presentation and\n"
    "                       scaling were chosen\n"
    "  --save-settings      keep this start's choices for the next ones\n"
    "  --replay FILE        watch a recorded game (every game is kept in the\n"
    "                       Replays folder): Space pauses, Right doubles the\n"
    "                       speed (up to 4x), Left halves it (down to 1/2x),\n"
    "                       Escape stops\n"
    "  --verify-table       replay the games behind the high-score table and\n"
    "                       say which rows they prove\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Choices are kept in " SETTINGS_AT ": window or fullscreen\n"
    "(Alt+Enter's last choice), size, scale, present, fps, sound and volume.\n"
    "Options given on the command line win over the file for that start.\n"
    "\n"
    "Gamepads work as soon as they are plugged in: d-pad or left stick to move,\n"
    "A or Start to drop, B to cycle the jewels, Back for the exit dialog.\n";

}  // namespace

const char* HelpText() { return kHelp; }

CommandLine ReadCommandLine(int argc, char** argv, platform::SdlSettings& settings, std::string& error,
                            RunRequests* requests) {
  RunRequests ignored;
  if (requests == nullptr) requests = &ignored;
  using platform::PresentChoice;
  using platform::ScaleChoice;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    std::string value;
    bool hasValue = false;
    // Both "--scale integer" and "--scale=integer".
    if (const size_t eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = option.substr(eq + 1);
      option.resize(eq);
      hasValue = true;
    }
    const bool wantsValue = option == "--scale" || option == "--present" || option == "--fps" ||
                            option == "--volume" || option == "--size";
    const bool known = wantsValue || option == "--help" || option == "-h" || option == "--version" ||
                       option == "--window" || option == "--fullscreen" || option == "--verbose" ||
                       option == "--no-sound" || option == "--save-settings" || option == "--check-options";
    if (!known) {
      error = "unknown option '" + std::string(argv[i]) + "'";
      return CommandLine::kRefused;
    }
    if (wantsValue && !hasValue) {
      if (i + 1 >= argc) {
        error = "option '" + option + "' needs a value";
        return CommandLine::kRefused;
      }
      value = argv[++i];
    } else if (!wantsValue && hasValue) {
      error = "option '" + option + "' takes no value";
      return CommandLine::kRefused;
    }
    if (option == "--help" || option == "-h") return CommandLine::kHelp;
    if (option == "--version") return CommandLine::kVersion;
    if (option == "--window") {
      settings.window = true;
    } else if (option == "--fullscreen") {
      settings.window = false;
    } else if (option == "--verbose") {
      settings.verbose = true;
    } else if (option == "--scale") {
      if (value == "fill") settings.scale = ScaleChoice::kFill;
      else if (value == "integer") settings.scale = ScaleChoice::kInteger;
      else { error = "--scale takes fill or integer, not '" + value + "'"; return CommandLine::kRefused; }
    } else if (option == "--present") {
      if (value == "auto") settings.present = PresentChoice::kAuto;
      else if (value == "gpu") settings.present = PresentChoice::kGpu;
      else if (value == "cpu") settings.present = PresentChoice::kCpu;
      else { error = "--present takes auto, gpu or cpu, not '" + value + "'"; return CommandLine::kRefused; }
    } else if (option == "--fps") {
      int64_t fps = 0;
      if (!platform::ReadWholeNumber(value, 100000, fps)) {
        error = "--fps takes a whole number from 0 (no limit) up, not '" + value + "'";
        return CommandLine::kRefused;
      }
      settings.fps = static_cast<int>(fps);
    } else if (option == "--no-sound") {
      settings.sound = false;
    } else if (option == "--volume") {
      int64_t volume = 0;
      if (!platform::ReadWholeNumber(value, 100, volume)) {
        error = "--volume takes a whole number from 0 to 100, not '" + value + "'";
        return CommandLine::kRefused;
      }
      settings.volume = static_cast<int>(volume);
    } else if (option == "--size") {
      if (!ReadWindowSize(value, settings.windowWidth, settings.windowHeight)) {
        error = "--size takes WIDTHxHEIGHT, each from 64 to 32767, not '" + value + "'";
        return CommandLine::kRefused;
      }
    } else if (option == "--save-settings") {
      requests->saveSettings = true;
    } else if (option == "--check-options") {
      requests->checkOnly = true;
    }
  }
  return CommandLine::kPlay;
}
