#include "tools/sim/scenario.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "flow/globals.h"
#include "flow/main_loop.h"
#include "platform/internal/state_reset.h"
#include "platform/option_text.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "tools/sim/audio_capture.h"
#ifdef _WIN32
#include "platform/internal/wide_text.h"
#endif
#include "tools/sim/png_writer.h"
#include "tools/sim/replay_sim.h"
#include "replay/game_hooks.h"

using platform::ScriptEvent;

const char* const kSimUsage =
    "usage: stakko-sim [--dir DIR] [--seed N] [--frame-us N] [--poll-us N]\n"
    "                  [--script FILE] [--fail keyboard|screen|mouse|sound|open]\n"
    "                  [--frames N] [--until-ms T] [--dump-frames LIST --dump-dir DIR]\n"
    "                  [--audio-out FILE.wav] [--trace] [--board] [--record FILE]\n"
    "       stakko-sim [--dir DIR] --replay FILE [--trace] [--board] [--dump-frames LIST\n"
    "                  --dump-dir DIR] [--audio-out FILE.wav]\n"
    "       stakko-sim [--dir DIR] --verify FILE\n";

namespace {

// Script numbers and frame lists: an optional minus, then digits only (the
// same rule as the options, which take no sign).
bool ParseInt(const std::string& text, int64_t& out) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!platform::ReadWholeNumber(negative ? text.substr(1) : text, int64_t{1} << 50, out)) return false;
  if (negative) out = -out;
  return true;
}

// A name from the command line, UTF-8 on every system, as a path.
std::filesystem::path PathOf(const std::string& utf8) {
#ifdef _WIN32
  return std::filesystem::path(platform::WideText(utf8));
#else
  return std::filesystem::path(utf8);
#endif
}

}  // namespace

bool ParseFrameList(const std::string& text, std::set<int64_t>& out) {
  std::stringstream in(text);
  std::string item;
  bool any = false;
  while (std::getline(in, item, ',')) {
    if (item.empty()) return false;
    size_t dash = item.find('-');
    int64_t first = 0, last = 0;
    if (dash == std::string::npos) {
      if (!ParseInt(item, first) || first < 1) return false;
      last = first;
    } else {
      if (!ParseInt(item.substr(0, dash), first) || !ParseInt(item.substr(dash + 1), last)) return false;
      if (first < 1 || last < first || last - first > 1000000) return false;
    }
    for (int64_t f = first; f <= last; ++f) out.insert(f);
    any = true;
  }
  return any;
}

bool ParseScript(std::istream& in, std::vector<ScriptEvent>& out, std::string& error) {
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::stringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    auto fail = [&](const std::string& why) {
      error = "script line " + std::to_string(number) + ": " + why;
      return false;
    };
    int64_t ms = 0;
    if (!ParseInt(w[0], ms) || ms < 0) return fail("bad time '" + w[0] + "'");
    if (w.size() < 2) return fail("missing event");
    ScriptEvent e;
    e.atMicros = ms * 1000;
    const std::string& kind = w[1];
    int64_t a = 0, b = 0;
    if (kind == "key" || kind == "button") {
      if (w.size() != 4) return fail("expected '<ms> " + kind + " <n> down|up'");
      if (!ParseInt(w[2], a)) return fail("bad number '" + w[2] + "'");
      if (kind == "key" && (a < 0 || a > 255)) return fail("KeyCode out of range 0..255");
      if (kind == "button" && (a < 1 || a > 3)) return fail("button must be 1, 2 or 3");
      if (w[3] != "down" && w[3] != "up") return fail("expected down or up");
      e.kind = kind == "key" ? ScriptEvent::Kind::Key : ScriptEvent::Kind::Button;
      e.a = static_cast<int>(a);
      e.on = w[3] == "down";
    } else if (kind == "mouse") {
      if (w.size() != 4 || !ParseInt(w[2], a) || !ParseInt(w[3], b)) return fail("expected '<ms> mouse <dx> <dy>'");
      if (a < -100000 || a > 100000 || b < -100000 || b > 100000) return fail("motion out of range");
      e.kind = ScriptEvent::Kind::Mouse;
      e.a = static_cast<int>(a);
      e.b = static_cast<int>(b);
    } else if (kind == "focus") {
      if (w.size() != 3 || (w[2] != "lost" && w[2] != "gained")) return fail("expected '<ms> focus lost|gained'");
      e.kind = ScriptEvent::Kind::Focus;
      e.on = w[2] == "gained";
    } else {
      return fail("unknown event '" + kind + "'");
    }
    out.push_back(e);
  }
  return true;
}

bool ParseSimArgs(const std::vector<std::string>& args, SimOptions& o, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    // Up to a day of virtual time, or that many frames: ample, and far from
    // overflowing the clock's microseconds.
    auto number = [&](int64_t& n, int64_t min, int64_t max = 86400000000ll) {
      std::string v;
      if (!value(v)) return false;
      if (!platform::ReadWholeNumber(v, max, n) || n < min) {
        error = "option " + a + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not '" + v + "'";
        return false;
      }
      return true;
    };
    std::string v;
    int64_t n = 0;
    if (a == "--dir") {
      if (!value(o.dir)) return false;
    } else if (a == "--seed") {
      if (!number(n, 0, 0xFFFFFFFFll)) return false;
      o.seed = static_cast<uint32_t>(n);
    } else if (a == "--frame-us") {
      if (!number(o.frameUs, 0)) return false;
    } else if (a == "--poll-us") {
      if (!number(o.pollUs, 0)) return false;
      if (o.pollUs == 0) {
        // Some waits read the keyboard without presenting a frame; with no
        // time per read, virtual time would stand still in them.
        error = "--poll-us must be at least 1: waits that only read the keyboard would never end";
        return false;
      }
    } else if (a == "--script") {
      if (!value(v)) return false;
      std::ifstream in(PathOf(v));
      if (!in) {
        error = "cannot read script '" + v + "'";
        return false;
      }
      std::string why;
      if (!ParseScript(in, o.events, why)) {
        error = v + ": " + why;
        return false;
      }
    } else if (a == "--fail") {
      if (!value(v)) return false;
      if (v == "keyboard") o.fail.keyboard = true;
      else if (v == "screen") o.fail.screen = true;
      else if (v == "mouse") o.fail.mouse = true;
      else if (v == "sound") o.fail.sound = true;
      else if (v == "open") o.fail.open = true;
      else {
        error = "--fail takes keyboard, screen, mouse, sound or open";
        return false;
      }
    } else if (a == "--frames") {
      if (!number(o.frames, 1)) return false;
    } else if (a == "--until-ms") {
      if (!number(o.untilMs, 1, 86400000ll)) return false;
    } else if (a == "--dump-frames") {
      if (!value(v)) return false;
      if (!ParseFrameList(v, o.dumpFrames)) {
        error = "--dump-frames: bad list '" + v + "' (e.g. 1,40,100-110)";
        return false;
      }
    } else if (a == "--dump-dir") {
      if (!value(o.dumpDir)) return false;
    } else if (a == "--audio-out") {
      if (!value(o.audioOut)) return false;
      if (o.audioOut.empty()) {
        error = "--audio-out needs a file name";
        return false;
      }
    } else if (a == "--record") {
      if (!value(o.record)) return false;
    } else if (a == "--replay" || a == "--verify") {
      if (!value(o.replay)) return false;
      o.verify = o.verify || a == "--verify";
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--board") {
      o.board = true;
    } else {
      error = "unknown option '" + a + "'";
      return false;
    }
  }
  return true;
}

void PrintRunEnd(const SimOptions& o, platform::HeadlessBackend& backend, std::ostream& out) {
  out << "t=" << backend.NowMs() << " f=" << backend.framesPresented << " final CurrentState=" << G.CurrentState
      << " Score=" << G.Score << " Level=" << G.Level << " Stones=" << G.Stones << " ToGo=" << G.ToGo << "\n";
  if (o.board) {
    for (int row = 1; row <= 12; ++row) {
      out << "board " << row << " ";
      for (int col = 0; col < BoardColumns; ++col) out << G.Board[col][row];
      out << "\n";
    }
  }
}

int RunSim(const SimOptions& o, std::ostream& out, std::ostream& err) {
  if (!o.replay.empty()) return RunReplaySim(o, out, err);
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path dumpDir = fs::absolute(PathOf(o.dumpDir), ec);
  const fs::path audioOut = o.audioOut.empty() ? fs::path() : fs::absolute(PathOf(o.audioOut), ec);
  AudioCapture audio;
  const bool capture = !audioOut.empty();
  std::string why;
  if (capture && !audio.Open(audioOut, why)) {
    err << "stakko-sim: cannot write '" << o.audioOut << "': " << why << "\n";
    return 2;
  }
  fs::path oldDir = fs::current_path(ec);
  fs::current_path(PathOf(o.dir), ec);
  if (ec) {
    err << "stakko-sim: cannot enter '" << o.dir << "': " << ec.message() << "\n";
    return 2;
  }

  platform::ResetAllPlatformState();
  ClearGameGlobals();
  platform::HeadlessBackend backend;
  backend.frameStepMicros = o.frameUs;
  backend.pollStepMicros = o.pollUs;
  backend.fail = o.fail;
  backend.captureLastFrame = false;
  backend.framesToKeep = o.dumpFrames;
  backend.stopAfterFrames = o.frames;
  backend.stopAtMicros = o.untilMs * 1000;
  for (const ScriptEvent& e : o.events) backend.AddEvent(e);
  if (o.trace || capture) {
    // Every play and stop is traced before it takes effect: the mix up to
    // that moment is pulled first.
    backend.traceSink = [&](const std::string& line) {
      if (capture) audio.CatchUp(backend);
      if (o.trace) out << line << "\n";
    };
  }
  if (capture) backend.onPresent = [&audio](platform::HeadlessBackend& b) { audio.CatchUp(b); };
  if (o.prepare) o.prepare(backend);
  const fs::path recordTo = o.record.empty() ? fs::path() : fs::absolute(fs::path(oldDir) / o.record, ec);
  std::vector<uint8_t> recorded;
  replay::RecordingBackend recorder(backend, replay::GameRecorderHooks([&](const replay::ReplayFile& file) {
    recorded = replay::EncodeReplay(file);
  }));
  platform::SetBackend(o.record.empty() ? static_cast<platform::Backend*>(&backend) : &recorder);
  if (o.seed) RandomSeed(*o.seed);

  int status = 0;
  try {
    GameMain();
  } catch (const platform::ProgramEnded& ended) {
    status = ended.exitCode;  // the game's own exit status
  } catch (const platform::RunStopped&) {
  }

  PrintRunEnd(o, backend, out);
  if (capture) {
    audio.CatchUp(backend);
    if (!audio.Finish(why)) {
      err << "stakko-sim: cannot write '" << o.audioOut << "': " << why << "\n";
      status = 1;
    }
  }
  if (!recordTo.empty()) {
    std::ofstream file(recordTo, std::ios::binary);
    file.write(reinterpret_cast<const char*>(recorded.data()), static_cast<std::streamsize>(recorded.size()));
    if (recorded.empty() || !file) {
      err << "stakko-sim: " << (recorded.empty() ? "no game was recorded" : "cannot write " + recordTo.string()) << "\n";
      status = 1;
    }
  }
  if (!backend.keptFrames.empty()) fs::create_directories(dumpDir, ec);
  for (const auto& [number, pixels] : backend.keptFrames) {
    fs::path file = dumpDir / ("frame-" + std::to_string(number) + ".png");
    if (!WritePng(file, pixels.data(), platform::kBackBufferWidth, platform::kBackBufferHeight)) {
      err << "stakko-sim: cannot write frame-" << number << ".png in " << o.dumpDir << "\n";
      status = 1;
    }
  }
  platform::SetBackend(nullptr);
  fs::current_path(oldDir, ec);
  return status;
}
