#include "replay/replay_run.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "flow/globals.h"
#include "flow/main_loop.h"
#include "flow/startup.h"
#include "platform/calendar.h"
#include "platform/headless/headless_backend.h"
#include "replay/game_start.h"

namespace replay {

namespace fs = std::filesystem;

namespace {

// A fresh folder holding only the recorded Data (and its table file), which
// the replayed game works in once its pictures and sounds are loaded.
fs::path MakeRunFolder(const TableFileCopy& table, std::error_code& ec) {
  std::random_device random;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) return {};
  for (int attempt = 0; attempt < 16; ++attempt) {
    fs::path dir = base / ("stakko-replay-" + std::to_string(random()));
    if (!fs::create_directory(dir, ec)) continue;
    if (table.dataFolder) {
      fs::create_directory(dir / "Data", ec);
      if (!ec && table.present) {
        std::ofstream out(dir / "Data" / "highscore.dat", std::ios::binary);
        out.write(reinterpret_cast<const char*>(table.bytes.data()), static_cast<std::streamsize>(table.bytes.size()));
        if (!out) ec = std::make_error_code(std::errc::io_error);
      }
    }
    return dir;
  }
  ec = std::make_error_code(std::errc::file_exists);
  return {};
}

}  // namespace

ReplayOutcome RunReplay(platform::Backend& inner, const ReplayFile& file,
                        const std::function<void(TapeBackend&)>& prepare) {
  ReplayOutcome outcome;
  if (!PlayableHere(file, outcome.message)) {
    outcome.refused = true;
    return outcome;
  }
  TableFileCopy table;
  {
    // Read the block once before anything runs, so a damaged one is refused
    // without a window opening.
    GameGlobals saved = G;
    if (!RestoreGameStart(file.start, table, outcome.message)) {
      outcome.refused = true;
      return outcome;
    }
    G = saved;
  }
  TapeBackend tape(inner, file.tape, &GameDigest);
  if (prepare) prepare(tape);
  platform::SetBackend(&tape);

  std::error_code ec;
  const fs::path home = fs::current_path(ec);
  fs::path runFolder;
  auto cleanUp = [&] {
    platform::SetCalendarDateForReplay(std::nullopt);
    fs::current_path(home, ec);
    if (!runFolder.empty()) fs::remove_all(runFolder, ec);
    platform::SetBackend(&inner);
    outcome.score = G.Score;
    outcome.level = G.Level;
    outcome.stones = G.Stones;
    outcome.frames = tape.reader().frames;
    outcome.checkpoints = tape.checkpointsPassed();
  };
  try {
    StartUp();
    std::string unused;
    RestoreGameStart(file.start, table, unused);
    platform::SetCalendarDateForReplay(platform::CalendarDate{file.year, file.month, file.day});
    runFolder = MakeRunFolder(table, ec);
    if (ec || (fs::current_path(runFolder, ec), ec)) {
      outcome.refused = true;
      outcome.message = "cannot make a folder for the replay: " + ec.message();
      cleanUp();
      return outcome;
    }
    tape.Engage();
    G.CurrentState = StateGetReady;
    for (;;) RunCurrentState();
  } catch (const TapeEnded&) {
  } catch (const ReplayAstray& astray) {
    outcome.astray = true;
    outcome.message = astray.where;
  } catch (const platform::ProgramEnded& ended) {
    outcome.programEnded = true;
    outcome.exitCode = ended.exitCode;
  } catch (...) {
    cleanUp();
    throw;
  }
  cleanUp();
  return outcome;
}

bool Verified(const ReplayFile& file, const ReplayOutcome& o, std::string& message) {
  if (o.refused || o.astray) {
    message = o.message;
    return false;
  }
  if (!o.programEnded && !file.complete) {
    message = "the recorded game ended the program, the replay did not";
    return false;
  }
  if (o.score != file.score || o.level != file.level || o.stones != file.stones) {
    message = "the replay ends with score " + std::to_string(o.score) + ", level " + std::to_string(o.level) +
              ", stones " + std::to_string(o.stones) + "; the file claims score " + std::to_string(file.score) +
              ", level " + std::to_string(file.level) + ", stones " + std::to_string(file.stones);
    return false;
  }
  if (o.frames != file.frames) {
    message = "the replay presented " + std::to_string(o.frames) + " frames; the recorded game " +
              std::to_string(file.frames);
    return false;
  }
  message = "verified: score " + std::to_string(o.score) + ", level " + std::to_string(o.level) + ", stones " +
            std::to_string(o.stones) + ", " + std::to_string(o.frames) + " frames, " +
            std::to_string(o.checkpoints) + " checkpoints agree";
  return true;
}

}  // namespace replay
