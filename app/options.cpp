#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char kHelp[] =
    "Usage: stakko [OPTION]...\n"
    "Stakko, the falling-jewels puzzle game. Started without options it plays\n"
    "fullscreen, as large as the screen allows, at full speed.\n"
    "\n"
    "  --window             start in a resizable window (the largest whole\n"
    "                       enlargement that fits); Alt+Enter switches between\n"
    "                       window and fullscreen at any time\n"
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
    "                       steady game for about a tenth of a processor core.\n"
    "                       0 (default): as fast as frames can be shown\n"
    "  --verbose            say on the standard error which presentation and\n"
    "                       scaling were chosen\n"
    "  --help               show this help and exit\n"
    "\n"
    "Gamepads work as soon as they are plugged in: d-pad or left stick to move,\n"
    "A or Start to drop, B to cycle the jewels, Back for the exit dialog.\n";

bool ReadNumber(const char* text, int& out) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value < 0 || value > 100000) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

const char* HelpText() { return kHelp; }

CommandLine ReadCommandLine(int argc, char** argv, platform::SdlSettings& settings, std::string& error) {
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
    const bool wantsValue = option == "--scale" || option == "--present" || option == "--fps";
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
    if (option == "--window") {
      settings.window = true;
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
      if (!ReadNumber(value.c_str(), settings.fps)) {
        error = "--fps takes a whole number from 0 (no limit) up, not '" + value + "'";
        return CommandLine::kRefused;
      }
    } else {
      error = "unknown option '" + std::string(argv[i]) + "'";
      return CommandLine::kRefused;
    }
  }
  return CommandLine::kPlay;
}
