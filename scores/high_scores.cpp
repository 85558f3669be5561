#include "scores/high_scores.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "flow/globals.h"
#include "platform/calendar.h"
#include "platform/files.h"
#include "platform/little_endian.h"
#include "platform/trace.h"

namespace {

constexpr int kRows = 10;
constexpr size_t kDateBytes = 11;
// Ten records of the longest name a length byte can announce; nothing past
// this is ever read. A text that ends in CR at its last byte also takes the
// LF after it, one byte more for the name and for the date.
constexpr size_t kMostBytesRead = kRows * (1 + (255 + 1) + 4 + (kDateBytes + 1) + 4);

// The in-memory default rows carry an older date than the file written with
// them, so the table shown right after a first start differs from the one
// shown on every later visit. Players have seen it that way; keep it.
const char* const kDefaultName = "NOBODY";
const char* const kDefaultDateInMemory = "01-JAN-2007";
const char* const kDefaultDateInFile = "01-JAN-2018";

// A reader that never goes past its bytes: at the end every read gives 0 or
// an empty string, as an unopened or short file reads.
class RecordReader {
 public:
  explicit RecordReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  int Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }

  int32_t Int32() {
    if (bytes_.size() - at_ < 4) {
      at_ = bytes_.size();
      return 0;
    }
    uint32_t v = platform::ReadLe32(bytes_.data() + at_);
    at_ += 4;
    return static_cast<int32_t>(v);
  }

  // Up to limit bytes; a NUL or LF ends the text and is dropped, a CR too,
  // taking a following LF with it.
  std::string Text(size_t limit) {
    std::string text;
    for (size_t taken = 0; taken < limit && at_ < bytes_.size(); ++taken) {
      uint8_t b = bytes_[at_++];
      if (b == 0 || b == '\n') break;
      if (b == '\r') {
        if (at_ < bytes_.size() && bytes_[at_] == '\n') ++at_;
        break;
      }
      text.push_back(static_cast<char>(b));
    }
    return text;
  }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t at_ = 0;
};

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// One record: length byte, name, score, the 11-byte date, level. The length
// byte counts the bytes actually written, so a name is never cut short of
// what its length byte announces nor allowed past 255 bytes; the date is
// padded or cut to its 11 bytes so the records after it stay in place.
void PutRecord(std::vector<uint8_t>& out, const std::string& name, int32_t score, const std::string& date,
               int32_t level) {
  size_t nameBytes = std::min<size_t>(name.size(), 255);
  out.push_back(static_cast<uint8_t>(nameBytes));
  out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(nameBytes));
  PutInt32(out, score);
  for (size_t k = 0; k < kDateBytes; ++k) out.push_back(k < date.size() ? static_cast<uint8_t>(date[k]) : ' ');
  PutInt32(out, level);
}

}  // namespace

void DecodeHighScores(const std::vector<uint8_t>& bytes) {
  RecordReader in(bytes);
  for (int row = 1; row <= kRows; ++row) {
    HighScoreEntry& entry = G.HighScoreTable[row];
    // The length byte is unsigned: a name of 128 to 255 bytes keeps its
    // length.
    size_t length = static_cast<size_t>(in.Byte());
    entry.name = in.Text(length);
    entry.score = in.Int32();
    entry.date = in.Text(kDateBytes);
    entry.level = in.Int32();
  }
}

std::vector<uint8_t> EncodeHighScores() {
  std::vector<uint8_t> out;
  for (int row = 1; row <= kRows; ++row) {
    const HighScoreEntry& entry = G.HighScoreTable[row];
    PutRecord(out, entry.name, entry.score, entry.date, entry.level);
  }
  return out;
}

namespace {

void UseDefaultRows() {
  for (int row = 1; row <= kRows; ++row) G.HighScoreTable[row] = HighScoreEntry{kDefaultName, 0, kDefaultDateInMemory, 0};
}

// A table file that exists but cannot be read (no permission, an I/O error,
// a FIFO or device at its name) is the player's and may hold ten good rows:
// it is never replaced in this run. The game plays on from the default rows
// in memory, and every save says it failed.
void KeepAwayFromUnreadableFile() {
  if (G.HighScoreFileUnreadable == 0) UseDefaultRows();
  G.HighScoreFileUnreadable = 1;
}

}  // namespace

void LoadHighScores() {
  int64_t size = 0;
  platform::FileKind kind = platform::ExamineFile(kHighScorePath, &size);
  if (G.HighScoreFileUnreadable != 0) {
    // Already found unreadable: the rows in memory (with this run's results)
    // stand until the game ends.
  } else if (kind == platform::FileKind::Regular && size > 0) {
    std::optional<std::vector<uint8_t>> bytes = platform::ReadFileStart(kHighScorePath, kMostBytesRead);
    if (bytes) {
      DecodeHighScores(*bytes);
    } else {
      KeepAwayFromUnreadableFile();
    }
  } else if (kind == platform::FileKind::Missing || kind == platform::FileKind::Folder ||
             kind == platform::FileKind::Regular) {
    // Missing, empty, or a folder of that name: the default rows. If the
    // file cannot be written they live in memory for the rest of the run.
    std::vector<uint8_t> bytes;
    for (int row = 1; row <= kRows; ++row) PutRecord(bytes, kDefaultName, 0, kDefaultDateInFile, 0);
    UseDefaultRows();
    platform::WriteFileReplacing(kHighScorePath, bytes);
  } else {
    KeepAwayFromUnreadableFile();
  }
  G.HighScoresLoaded = 1;
}

void EnsureHighScoresLoaded() {
  if (G.HighScoresLoaded == 0) LoadHighScores();
}

int InsertHighScore(int32_t score, int32_t level) {
  int position = 0;
  HighScoreEntry carried;
  for (int row = 1; row <= kRows; ++row) {
    if (position == 0 && score >= G.HighScoreTable[row].score) {
      position = row;
      carried = HighScoreEntry{" EMPTY ", score, MakeDateText(), level};
    }
    if (position != 0) std::swap(G.HighScoreTable[row], carried);
  }
  TraceEvent("highscore row=" + std::to_string(position));
  return position;
}

bool SaveHighScores() {
  bool ok = G.HighScoreFileUnreadable == 0 && platform::WriteFileReplacing(kHighScorePath, EncodeHighScores());
  TraceEvent(ok ? "highscore save ok" : "highscore save failed");
  return ok;
}

const char* const kMonthNames[13] = {"",    "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

std::string FormatDateText(int year, int month, int day) {
  int m = (month >= 1 && month <= 12) ? month : 0;
  // The game's own month table is the one to show; the built-in names only
  // stand in if it has not been filled.
  std::string monthName = G.MonthNames[m].size() == 3 ? G.MonthNames[m] : m == 0 ? "???" : kMonthNames[m];
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%s-%04d", std::clamp(day, 0, 99), monthName.c_str(),
                std::clamp(year, 0, 9999));
  return text;
}

std::string MakeDateText() {
  platform::CalendarDate today = platform::LocalDateToday();
  return FormatDateText(today.year, today.month, today.day);
}
