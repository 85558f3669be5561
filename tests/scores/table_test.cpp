// The high-score table and "Data/highscore.dat": the exact bytes, lenient
// reading, placing results, saves that never lose the old table, and dates.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#else
#include "platform/internal/windows_api.h"
#endif

#include <filesystem>
#include <functional>
#include <random>

#include "flow/globals.h"
#include "platform/calendar.h"
#include "scores/high_scores.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(const std::string& name, int32_t score, const std::string& date, int32_t level) {
  Bytes out;
  out.push_back(static_cast<uint8_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(score) >> (8 * k)));
  out.insert(out.end(), date.begin(), date.end());
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(level) >> (8 * k)));
  return out;
}

void SetRows(const std::vector<int32_t>& scores) {
  for (int row = 1; row <= 10; ++row) {
    int32_t s = row <= static_cast<int>(scores.size()) ? scores[static_cast<size_t>(row - 1)] : 0;
    G.HighScoreTable[row] = HighScoreEntry{"ROW" + std::to_string(row), s, "01-FEB-2020", row};
  }
}

// A working folder with (or without) "Data", fresh state and a headless
// backend that records the trace lines.
class ScoreTableTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    fs::create_directory(dir.path() / "Data");
  }
  void TearDown() override {
    platform::SetCalendarClockForTests(std::nullopt);
    HeadlessTest::TearDown();
  }
  fs::path File() const { return dir.path() / "Data" / "highscore.dat"; }
  bool Traced(const std::string& event) const {
    for (const std::string& line : backend.traceLines) {
      if (line.size() >= event.size() && line.compare(line.size() - event.size(), event.size(), event) == 0) return true;
    }
    return false;
  }

  ScopedWorkDir dir;
};

Bytes DefaultFile() {
  Bytes out;
  for (int row = 0; row < 10; ++row) {
    Bytes r = Record("NOBODY", 0, "01-JAN-2018", 0);
    out.insert(out.end(), r.begin(), r.end());
  }
  return out;
}

}  // namespace

// --- Defaults -------------------------------------------------------------

TEST_F(ScoreTableTest, NoFileWritesDefaultFileAndShowsOlderDateUntilReread) {
  LoadHighScores();
  EXPECT_EQ(G.HighScoresLoaded, 1);
  Bytes file = ReadBytes(File());
  ASSERT_EQ(file.size(), 260u);
  EXPECT_EQ(file, DefaultFile());
  for (int row = 1; row <= 10; ++row) {
    EXPECT_EQ(G.HighScoreTable[row].name, "NOBODY");
    EXPECT_EQ(G.HighScoreTable[row].score, 0);
    EXPECT_EQ(G.HighScoreTable[row].date, "01-JAN-2007");
    EXPECT_EQ(G.HighScoreTable[row].level, 0);
  }
  LoadHighScores();
  for (int row = 1; row <= 10; ++row) EXPECT_EQ(G.HighScoreTable[row].date, "01-JAN-2018") << row;
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat.tmp"));
}

TEST_F(ScoreTableTest, EmptyFileIsRewrittenWithDefaults) {
  WriteBytes(File(), {});
  LoadHighScores();
  EXPECT_EQ(ReadBytes(File()), DefaultFile());
  EXPECT_EQ(G.HighScoreTable[10].date, "01-JAN-2007");
}

TEST_F(ScoreTableTest, WithoutDataFolderTheTableLivesInMemoryOnly) {
  fs::remove(dir.path() / "Data");
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].name, "NOBODY");
  EXPECT_EQ(G.HighScoresLoaded, 1);
  EXPECT_EQ(InsertHighScore(50, 2), 1);
  G.HighScoreTable[1].name = "ANN";
  EXPECT_FALSE(SaveHighScores());
  EXPECT_TRUE(Traced("highscore save failed"));
  EXPECT_FALSE(fs::exists(dir.path() / "Data"));  // never created
  EXPECT_EQ(G.HighScoreTable[1].name, "ANN");
}

TEST_F(ScoreTableTest, FolderNamedLikeTheFileGivesDefaultsAndStaysAFolder) {
  fs::create_directory(File());
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[5].name, "NOBODY");
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_FALSE(SaveHighScores());
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat.tmp"));
}

TEST_F(ScoreTableTest, EnsureLoadedReadsOnlyOnce) {
  EnsureHighScoresLoaded();
  EXPECT_EQ(G.HighScoreTable[1].date, "01-JAN-2007");
  EnsureHighScoresLoaded();  // the file now says 2018, but it is not read again
  EXPECT_EQ(G.HighScoreTable[1].date, "01-JAN-2007");
}

// --- Record layout and round trips -----------------------------------------

TEST_F(ScoreTableTest, RecordsAreLengthNameScoreDateLevel) {
  SetRows({});
  G.HighScoreTable[1] = {"ABCDEFGH", 0x01020304, "05-MAR-2026", -2};
  G.HighScoreTable[2] = {"", 70000, "06-MAR-2026", 3};
  ASSERT_TRUE(SaveHighScores());
  EXPECT_TRUE(Traced("highscore save ok"));
  Bytes file = ReadBytes(File());
  Bytes first = Record("ABCDEFGH", 0x01020304, "05-MAR-2026", -2);
  ASSERT_EQ(first.size(), 28u);
  ASSERT_GE(file.size(), 28u + 20u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 28), first);
  EXPECT_EQ(file[9], 0x04);  // little-endian score right after the name
  // An empty name: the length byte 0, then straight away the score.
  EXPECT_EQ(file[28], 0);
  EXPECT_EQ(Bytes(file.begin() + 29, file.begin() + 33), (Bytes{0x70, 0x11, 0x01, 0x00}));
  EXPECT_EQ(file.size(), 28u + 20u + 7u * (20 + 4) + (20 + 5));  // "ROW3".."ROW10"

  ClearGameGlobals();
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].name, "ABCDEFGH");
  EXPECT_EQ(G.HighScoreTable[1].score, 0x01020304);
  EXPECT_EQ(G.HighScoreTable[1].level, -2);
  EXPECT_EQ(G.HighScoreTable[2].name, "");
  EXPECT_EQ(G.HighScoreTable[2].score, 70000);
  EXPECT_EQ(G.HighScoreTable[2].date, "06-MAR-2026");
  EXPECT_EQ(G.HighScoreTable[3].name, "ROW3");
  EXPECT_EQ(G.HighScoreTable[10].level, 10);
}

TEST_F(ScoreTableTest, SavedRecordsStayInPlaceWhateverTheRowsHold) {
  // Rows read from a short file have no date, and a name in memory may be
  // longer than a length byte can say: neither may shift the records after.
  SetRows({9, 8, 7});
  G.HighScoreTable[1].date = "";
  G.HighScoreTable[2].name = std::string(300, 'Q');
  ASSERT_TRUE(SaveHighScores());
  ClearGameGlobals();
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].date, "           ");
  EXPECT_EQ(G.HighScoreTable[1].score, 9);
  EXPECT_EQ(G.HighScoreTable[2].name, std::string(255, 'Q'));
  EXPECT_EQ(G.HighScoreTable[2].score, 8);
  EXPECT_EQ(G.HighScoreTable[3].name, "ROW3");
  EXPECT_EQ(G.HighScoreTable[10].level, 10);
}

TEST_F(ScoreTableTest, LongNameLengthByteIsUnsigned) {
  Bytes file = Record(std::string(200, 'L'), 5, "01-JAN-2018", 1);
  Bytes second = Record("B", 4, "02-JAN-2018", 2);
  file.insert(file.end(), second.begin(), second.end());
  WriteBytes(File(), file);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].name.size(), 200u);
  EXPECT_EQ(G.HighScoreTable[1].score, 5);
  EXPECT_EQ(G.HighScoreTable[2].name, "B");
  EXPECT_EQ(G.HighScoreTable[2].level, 2);
}

// --- Lenient reading ------------------------------------------------------

TEST_F(ScoreTableTest, RecordCutAfterItsNameKeepsTheNameAndReadsTheRestEmpty) {
  SetRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  WriteBytes(File(), Bytes{4, 'J', 'O', 'H', 'N'});
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].name, "JOHN");
  EXPECT_EQ(G.HighScoreTable[1].score, 0);
  EXPECT_EQ(G.HighScoreTable[1].date, "");
  for (int row = 2; row <= 10; ++row) {
    EXPECT_EQ(G.HighScoreTable[row].name, "") << row;
    EXPECT_EQ(G.HighScoreTable[row].score, 0) << row;
    EXPECT_EQ(G.HighScoreTable[row].date, "") << row;
    EXPECT_EQ(G.HighScoreTable[row].level, 0) << row;
  }
  // The short file is not replaced by a read.
  EXPECT_EQ(ReadBytes(File()).size(), 5u);
}

TEST_F(ScoreTableTest, DamagedBytesAreTakenAsTheySay) {
  const std::string date = "01-JAN-2018";
  // A NUL inside the name ends it; the score follows the NUL directly.
  Bytes file{5, 'A', 'B', 0, 7, 0, 0, 0};
  file.insert(file.end(), date.begin(), date.end());
  file.insert(file.end(), {3, 0, 0, 0});
  // CR LF ends the second name and both are dropped.
  file.insert(file.end(), {9, 'X', 'Y', '\r', '\n', 6, 0, 0, 0});
  file.insert(file.end(), date.begin(), date.end());
  file.insert(file.end(), {2, 0, 0, 0});
  // A length byte announcing more than is left.
  file.insert(file.end(), {0xFF, 'Z'});
  WriteBytes(File(), file);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].name, "AB");
  EXPECT_EQ(G.HighScoreTable[1].score, 7);
  EXPECT_EQ(G.HighScoreTable[1].date, date);
  EXPECT_EQ(G.HighScoreTable[1].level, 3);
  EXPECT_EQ(G.HighScoreTable[2].name, "XY");
  EXPECT_EQ(G.HighScoreTable[2].score, 6);
  EXPECT_EQ(G.HighScoreTable[2].level, 2);
  EXPECT_EQ(G.HighScoreTable[3].name, "Z");
  EXPECT_EQ(G.HighScoreTable[3].score, 0);
  EXPECT_EQ(G.HighScoreTable[4].name, "");

  // A CR as the last byte a text may take still takes the LF after it, so
  // the longest records reach past ten times 275 bytes; row 10 reads whole.
  file.clear();
  for (int row = 1; row <= 10; ++row) {
    file.push_back(255);
    file.insert(file.end(), 254, 'N');
    file.insert(file.end(), {'\r', '\n', 1, 0, 0, 0});
    file.insert(file.end(), 10, 'D');
    file.insert(file.end(), {'\r', '\n', static_cast<uint8_t>(row), 0, 0, 0});
  }
  ASSERT_EQ(file.size(), 2770u);
  WriteBytes(File(), file);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[10].name, std::string(254, 'N'));
  EXPECT_EQ(G.HighScoreTable[10].score, 1);
  EXPECT_EQ(G.HighScoreTable[10].date, std::string(10, 'D'));
  EXPECT_EQ(G.HighScoreTable[10].level, 10);
}

TEST_F(ScoreTableTest, RandomBytesNeverReadOutsideTheBuffer) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    Bytes bytes(static_cast<size_t>(rng() % 600));
    for (auto& b : bytes) b = static_cast<uint8_t>(rng() % 4 == 0 ? rng() % 16 : rng());
    DecodeHighScores(bytes);
    for (int row = 1; row <= 10; ++row) {
      ASSERT_LE(G.HighScoreTable[row].name.size(), 255u);
      ASSERT_LE(G.HighScoreTable[row].date.size(), 11u);
    }
  }
  // A large file is read from its start like any other.
  Bytes big = DefaultFile();
  big.resize(1 << 20, 'Z');
  WriteBytes(File(), big);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[10].name, "NOBODY");
  EXPECT_EQ(G.HighScoreTable[10].date, "01-JAN-2018");
}

// --- Placing a result -----------------------------------------------------

TEST_F(ScoreTableTest, TiesGoToTheNewResult) {
  platform::SetCalendarClockForTests(int64_t{1772712000});  // 5 March 2026, noon UTC
  SetRows({100, 90, 90, 80, 70, 60, 50, 40, 30, 20});
  EXPECT_EQ(InsertHighScore(90, 7), 2);
  EXPECT_TRUE(Traced("highscore row=2"));
  EXPECT_EQ(G.HighScoreTable[1].name, "ROW1");
  EXPECT_EQ(G.HighScoreTable[2].name, " EMPTY ");
  EXPECT_EQ(G.HighScoreTable[2].score, 90);
  EXPECT_EQ(G.HighScoreTable[2].level, 7);
  EXPECT_EQ(G.HighScoreTable[2].date, "05-MAR-2026");
  EXPECT_EQ(G.HighScoreTable[3].name, "ROW2");
  EXPECT_EQ(G.HighScoreTable[4].name, "ROW3");
  EXPECT_EQ(G.HighScoreTable[5].name, "ROW4");
  EXPECT_EQ(G.HighScoreTable[10].name, "ROW9");  // the old row 10 is gone

  SetRows({100, 90, 90, 80, 70, 60, 50, 40, 30, 20});
  EXPECT_EQ(InsertHighScore(20, 1), 10);
  EXPECT_EQ(G.HighScoreTable[10].name, " EMPTY ");
  EXPECT_EQ(InsertHighScore(-5, 1), 0);
}

TEST_F(ScoreTableTest, ResultBelowTheTableChangesNothing) {
  SetRows({100, 90, 90, 80, 70, 60, 50, 40, 30, 20});
  HighScoreEntry before[11];
  for (int row = 1; row <= 10; ++row) before[row] = G.HighScoreTable[row];
  EXPECT_EQ(InsertHighScore(19, 9), 0);
  EXPECT_TRUE(Traced("highscore row=0"));
  for (int row = 1; row <= 10; ++row) {
    EXPECT_EQ(G.HighScoreTable[row].name, before[row].name);
    EXPECT_EQ(G.HighScoreTable[row].score, before[row].score);
  }
  // With the default rows every game enters, even one scoring nothing.
  LoadHighScores();
  EXPECT_EQ(InsertHighScore(0, 1), 1);
}

// --- Saving never loses the old table -----------------------------------------

class FailedSaveTest : public ScoreTableTest {
 protected:
  void SetUp() override {
    ScoreTableTest::SetUp();
    SetRows({50, 40});
    ASSERT_TRUE(SaveHighScores());
    old = ReadBytes(File());
    SetRows({99, 98, 97});
  }
  void ExpectOldFileKept() {
    EXPECT_FALSE(SaveHighScores());
    EXPECT_TRUE(Traced("highscore save failed"));
    EXPECT_EQ(ReadBytes(File()), old);
  }
  Bytes old;
};

#ifndef _WIN32
// Folder and file permissions and symbolic links as POSIX systems have them;
// Windows keeps the player's table safe by its own rules (below).
TEST_F(FailedSaveTest, TemporaryNameTakenByAFolder) {
  fs::create_directory(dir.path() / "Data" / "highscore.dat.tmp");
  ExpectOldFileKept();
  EXPECT_TRUE(fs::is_directory(dir.path() / "Data" / "highscore.dat.tmp"));
}

TEST_F(FailedSaveTest, StaleTemporaryFileIsReplacedNotAppendedTo) {
  WriteBytes(dir.path() / "Data" / "highscore.dat.tmp", Bytes(5000, 'x'));
  ASSERT_TRUE(SaveHighScores());
  EXPECT_EQ(ReadBytes(File()), EncodeHighScores());
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat.tmp"));
}

TEST_F(FailedSaveTest, ReadOnlyFolder) {
  fs::permissions(dir.path() / "Data", fs::perms::owner_read | fs::perms::owner_exec);
  {
    AsOrdinaryUser user;
    ExpectOldFileKept();  // the folder stays readable
  }
  fs::permissions(dir.path() / "Data", fs::perms::owner_all);
  EXPECT_FALSE(fs::exists(dir.path() / "Data" / "highscore.dat.tmp"));
}

TEST_F(FailedSaveTest, StaleLinkAtTheTemporaryNameIsNeverFollowed) {
  // A link left at the temporary name, pointing anywhere: the save makes its
  // own new file, the link's target keeps its bytes, and the table ends up a
  // plain file.
  WriteBytes(dir.path() / "victim", Bytes{'k', 'e', 'e', 'p'});
  fs::create_symlink(dir.path() / "victim", dir.path() / "Data" / "highscore.dat.tmp");
  ASSERT_TRUE(SaveHighScores());
  EXPECT_EQ(ReadBytes(dir.path() / "victim"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(fs::is_symlink(File()));
  EXPECT_EQ(ReadBytes(File()), EncodeHighScores());
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "Data" / "highscore.dat.tmp")));
}

TEST_F(FailedSaveTest, TableThatCannotBeReadIsNeverReplaced) {
  // Neither a file without read permission nor a FIFO at the table's name
  // (which must not block the game either) is taken for a missing table:
  // the rows in memory are the defaults, and no save replaces what is there.
  fs::permissions(File(), fs::perms::none);
  {
    AsOrdinaryUser user;
    LoadHighScores();
    EXPECT_EQ(G.HighScoreTable[1].name, "NOBODY");
    EXPECT_EQ(G.HighScoreTable[1].date, "01-JAN-2007");
    EXPECT_EQ(InsertHighScore(10, 1), 1);
    EXPECT_FALSE(SaveHighScores());
    EXPECT_TRUE(Traced("highscore save failed"));
    LoadHighScores();  // later visits of the table keep this run's rows
    EXPECT_EQ(G.HighScoreTable[1].score, 10);
  }
  fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadBytes(File()), old);

  ClearGameGlobals();
  fs::remove(File());
  ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[10].name, "NOBODY");
  EXPECT_FALSE(SaveHighScores());
  EXPECT_EQ(fs::status(File()).type(), fs::file_type::fifo);
}
#else
TEST_F(FailedSaveTest, ReadOnlyTableIsNeverReplaced) {
  // A table the player marked read-only is never replaced, no temporary
  // file is left beside it, and it is still read as usual.
  fs::permissions(File(), fs::perms::owner_read);
  ExpectOldFileKept();
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "Data"), fs::directory_iterator()), 1);
  LoadHighScores();
  EXPECT_EQ(G.HighScoreTable[1].score, 50);
  fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
}

// Under wine a Windows program can neither make a Unix symbolic link
// (CreateSymbolicLinkW claims success and makes nothing) nor delete one (its
// target goes instead), but it can start the system's own tools. Their
// process cannot be waited for through its handle: the caller waits for
// what the tool does, up to ten seconds.
void RunUnixTool(const fs::path& folder, const std::wstring& tool, const std::wstring& arguments,
                 const std::function<bool()>& done) {
  std::wstring command = L"Z:\\bin\\" + tool + L" " + arguments;
  const std::wstring program = L"Z:\\bin\\" + tool;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.wstring().c_str(), &startup, &process))
      << "this test needs wine's view of the Unix tools (Z:\\bin)";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int tries = 0; tries < 1000 && !done(); ++tries) Sleep(10);
}

TEST_F(FailedSaveTest, WhatLiesAtTheTemporaryNameIsNeitherOpenedNorDeleted) {
  // wine deletes a link's target when asked to delete the link, so a save
  // makes its temporary file under a fresh name of its own and leaves a
  // folder, a stale file or a link there as it found them; the save
  // succeeds all the same, and leaves nothing of its own behind.
  const fs::path data = dir.path() / "Data";
  fs::create_directory(data / "highscore.dat.tmp");
  ASSERT_TRUE(SaveHighScores());
  EXPECT_TRUE(fs::is_directory(data / "highscore.dat.tmp"));
  fs::remove(data / "highscore.dat.tmp");
  WriteBytes(data / "highscore.dat.tmp", Bytes(5000, 'x'));
  SetRows({66});
  ASSERT_TRUE(SaveHighScores());
  EXPECT_EQ(ReadBytes(data / "highscore.dat.tmp"), Bytes(5000, 'x'));
  EXPECT_EQ(ReadBytes(File()), EncodeHighScores());
  fs::remove(data / "highscore.dat.tmp");

  // Last: not even the test can delete the link without losing its target.
  const Bytes keep{'k', 'e', 'e', 'p'};
  WriteBytes(dir.path() / "victim", keep);
  const std::wstring link = (data / "highscore.dat.tmp").wstring();
  auto linkThere = [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; };
  RunUnixTool(data, L"ln", L"-s ../victim highscore.dat.tmp", linkThere);
  ASSERT_EQ(ReadBytes(data / "highscore.dat.tmp"), keep) << "the link was not planted";
  SetRows({77});
  ASSERT_TRUE(SaveHighScores());
  EXPECT_EQ(ReadBytes(dir.path() / "victim"), keep);
  EXPECT_EQ(ReadBytes(data / "highscore.dat.tmp"), keep);
  EXPECT_EQ(ReadBytes(File()), EncodeHighScores());
  EXPECT_EQ(std::distance(fs::directory_iterator(data), fs::directory_iterator()), 2);
  RunUnixTool(data, L"rm", L"highscore.dat.tmp", [&] { return !linkThere(); });
}
#endif

// --- Dates ----------------------------------------------------------------

TEST(DateText, ElevenCharactersForEveryYear) {
  ClearGameGlobals();  // the month table may be unfilled: a copy stands in
  EXPECT_EQ(FormatDateText(2026, 3, 5), "05-MAR-2026");
  EXPECT_EQ(FormatDateText(2040, 12, 31), "31-DEC-2040");
  EXPECT_EQ(FormatDateText(12345, 1, 1), "01-JAN-9999");
  EXPECT_EQ(FormatDateText(-40, 1, 1), "01-JAN-0000");
  EXPECT_EQ(FormatDateText(2026, 13, 1).size(), 11u);
  G.MonthNames[6] = "JUN";
  EXPECT_EQ(FormatDateText(1999, 6, 9), "09-JUN-1999");
}

TEST(DateText, DayNumbersPastTheThirtyTwoBitEnd) {
  auto is = [](platform::CalendarDate d, int y, int m, int day) {
    return d.year == y && d.month == m && d.day == day;
  };
  EXPECT_TRUE(is(platform::DateFromDayNumber(0), 1970, 1, 1));
  EXPECT_TRUE(is(platform::DateFromDayNumber(-1), 1969, 12, 31));
  EXPECT_TRUE(is(platform::DateFromDayNumber(11016), 2000, 2, 29));
  EXPECT_TRUE(is(platform::DateFromDayNumber(24855), 2038, 1, 19));
  EXPECT_TRUE(is(platform::DateFromDayNumber(24856), 2038, 1, 20));
  EXPECT_TRUE(is(platform::DateFromDayNumber(47541), 2100, 3, 1));  // 2100 is no leap year
  // Local dates at noon UTC are the same day in every usual time zone.
  EXPECT_TRUE(is(platform::LocalDateAt(int64_t{2147688000}), 2038, 1, 21));
  EXPECT_TRUE(is(platform::LocalDateAt(int64_t{4102488000}), 2100, 1, 1));
}

TEST_F(ScoreTableTest, NewRowAfter2038CarriesItsDate) {
  ClearGameGlobals();
  platform::SetCalendarClockForTests(int64_t{2223115200});  // 12 June 2040, noon UTC
  EXPECT_EQ(MakeDateText(), "12-JUN-2040");
  SetRows({});
  ASSERT_EQ(InsertHighScore(1, 1), 1);
  EXPECT_EQ(G.HighScoreTable[1].date, "12-JUN-2040");
}
