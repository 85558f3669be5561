#include "tools/sim/replay_sim.h"

#include <filesystem>
#include <iostream>

#include "flow/globals.h"
#include "platform/internal/state_reset.h"
#include "platform/screen.h"
#include "replay/replay_run.h"
#include "tools/sim/audio_capture.h"
#include "tools/sim/png_writer.h"

int RunReplaySim(const SimOptions& o, std::ostream& out, std::ostream& err) {
  namespace fs = std::filesystem;
  replay::ReplayFile file;
  std::string error;
  if (!replay::LoadReplay(o.replay, file, error)) {
    err << "stakko-sim: " << error << "\n";
    return 1;
  }
  std::error_code ec;
  const fs::path dumpDir = fs::absolute(o.dumpDir, ec);
  const fs::path audioOut = o.audioOut.empty() ? fs::path() : fs::absolute(o.audioOut, ec);
  const fs::path oldDir = fs::current_path(ec);
  fs::current_path(o.dir, ec);
  if (ec) {
    err << "stakko-sim: cannot enter '" << o.dir << "': " << ec.message() << "\n";
    return 2;
  }

  platform::ResetAllPlatformState();
  ClearGameGlobals();
  platform::HeadlessBackend backend;
  // The tape keeps the time; the headless clock only follows it, from 0 at
  // the replay's first reading, so traces, frames and sound line up.
  backend.frameStepMicros = 0;
  backend.pollStepMicros = 0;
  backend.captureLastFrame = false;
  backend.framesToKeep = o.verify ? std::set<int64_t>{} : o.dumpFrames;
  AudioCapture audio;
  const bool capture = !o.verify && !audioOut.empty();
  std::string why;
  if (capture && !audio.Open(audioOut, why)) {
    err << "stakko-sim: cannot write '" << o.audioOut << "': " << why << "\n";
    fs::current_path(oldDir, ec);
    return 2;
  }
  if (!o.verify && (o.trace || capture)) {
    backend.traceSink = [&](const std::string& line) {
      if (capture) audio.CatchUp(backend);
      if (o.trace) out << line << "\n";
    };
  }
  // Frames are written as they come, not held to the end: a video's worth of
  // them would not fit in memory.
  bool framesWritten = true;
  if (!backend.framesToKeep.empty()) fs::create_directories(dumpDir, ec);
  backend.onPresent = [&](platform::HeadlessBackend& b) {
    if (capture) audio.CatchUp(b);
    for (const auto& [number, pixels] : b.keptFrames) {
      fs::path f = dumpDir / ("frame-" + std::to_string(number) + ".png");
      if (!WritePng(f.string(), pixels.data(), platform::kBackBufferWidth, platform::kBackBufferHeight)) {
        err << "stakko-sim: cannot write " << f.string() << "\n";
        framesWritten = false;
      }
    }
    b.keptFrames.clear();
  };
  platform::SetBackend(&backend);

  bool haveBase = false;
  int64_t base = 0;
  replay::ReplayOutcome outcome = replay::RunReplay(backend, file, [&](replay::TapeBackend& tape) {
    tape.onClock = [&](int64_t micros) {
      if (!haveBase) {
        haveBase = true;
        base = micros;
      }
      backend.now = micros - base;
    };
  });

  int status = 0;
  if (outcome.refused) {
    err << "stakko-sim: " << o.replay << ": " << outcome.message << "\n";
    status = 1;
  } else if (o.verify) {
    std::string message;
    const bool verified = replay::Verified(file, outcome, message);
    (verified ? out : err) << (verified ? "" : "not verified: ") << message << "\n";
    status = verified ? 0 : 1;
  } else {
    if (outcome.astray) {
      err << "stakko-sim: " << outcome.message << "\n";
      status = 1;
    }
      PrintRunEnd(o, backend, out);
    if (capture) {
      audio.CatchUp(backend);
      if (!audio.Finish(why)) {
        err << "stakko-sim: cannot write '" << o.audioOut << "': " << why << "\n";
        status = 1;
      }
    }
    if (!framesWritten) status = 1;
  }
  platform::SetBackend(nullptr);
  fs::current_path(oldDir, ec);
  return status;
}
