// The whole game through the scenario runner: the attract cycle left alone,
// leaving it through the exit dialog, and Escape during play.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tools/sim/scenario.h"

namespace {

struct StateChange {
  int64_t ms;
  int64_t frame;
  int from;
  int to;
};

struct SimResult {
  int status = -1;
  std::string out;
  std::vector<StateChange> changes;
};

SimResult Simulate(const std::vector<std::string>& args, const std::string& script = "") {
  ScopedWorkDir dir;
  CopyRunAssets(dir.path());
  SimOptions options;
  std::string error;
  SimResult result;
  if (!ParseSimArgs(args, options, error)) {
    ADD_FAILURE() << error;
    return result;
  }
  std::istringstream in(script);
  if (!ParseScript(in, options.events, error)) {
    ADD_FAILURE() << error;
    return result;
  }
  std::ostringstream out, err;
  result.status = RunSim(options, out, err);
  result.out = out.str();
  std::regex change(R"(^t=(\d+) f=(\d+) state (\d+) (\d+)$)");
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, change))
      result.changes.push_back({std::stoll(m[1]), std::stoll(m[2]), std::stoi(m[3]), std::stoi(m[4])});
  }
  return result;
}

std::string Sequence(const std::vector<StateChange>& changes) {
  std::string s;
  for (const StateChange& c : changes) s += std::to_string(c.to) + " ";
  return s;
}

TEST(AttractCycle, WithoutInputGoesRoundTitleParticlesScoresHowToAndBack) {
  // Coarse steps keep the run short; the timeouts are in milliseconds and
  // do not depend on them.
  SimResult run = Simulate({"--trace", "--frame-us", "20000", "--poll-us", "200", "--until-ms", "110000"});
  ASSERT_EQ(run.status, 0);
  ASSERT_GE(run.changes.size(), 6u) << run.out.substr(0, 2000);
  EXPECT_EQ(Sequence(run.changes).substr(0, 12), "1 2 3 4 1 2 ") << Sequence(run.changes);
  const StateChange& toAttract = run.changes[1];
  const StateChange& toScores = run.changes[2];
  const StateChange& toHowTo = run.changes[3];
  const StateChange& toTitle = run.changes[4];
  const StateChange& again = run.changes[5];
  EXPECT_EQ(toAttract.frame, 40);  // the wave
  // A particle frame is 20 ms plus its 60 keyboard reads.
  EXPECT_GT(toScores.ms - toAttract.ms, 30000);
  EXPECT_LE(toScores.ms - toAttract.ms, 30000 + 20 + 12 + 1);
  EXPECT_GT(toHowTo.ms - toScores.ms, 20000);  // the slide, then 20 s
  EXPECT_GT(toTitle.ms - toHowTo.ms, 20000);
  EXPECT_LE(toTitle.ms - toHowTo.ms, 20000 + 20 + 1);
  EXPECT_EQ(toTitle.frame - toHowTo.frame, 1);  // the how-to picture is one frame
  EXPECT_EQ(again.frame - toTitle.frame, 40);   // a full wave again
}

TEST(AttractCycle, AWaveCutShortByAGameGoesOnAfterIt) {
  // Space comes down during the third wave frame; the game's columns are
  // dropped at once until the well overflows; Enter takes whatever name the
  // table asks for; then the cycle comes back round to the title.
  // Frames are 5 ms apart: the third one's keyboard read comes after 11 ms.
  std::string script = "11 key 57 down\n30 key 57 up\n";
  for (int t = 5000; t <= 9000; t += 400)
    script += std::to_string(t) + " key 57 down\n" + std::to_string(t + 100) + " key 57 up\n";
  script += "12000 key 28 down\n12100 key 28 up\n";
  SimResult run = Simulate({"--trace", "--frame-us", "5000", "--poll-us", "100", "--until-ms", "70000"}, script);
  ASSERT_EQ(run.status, 0);
  std::string sequence = Sequence(run.changes);
  ASSERT_EQ(sequence.substr(0, 18), "1 5 6 7 3 4 1 2 ") << run.out.substr(0, 3000);
  EXPECT_EQ(run.changes[1].frame, 3);
  EXPECT_EQ(run.changes[7].frame - run.changes[6].frame, 37);  // from 18.5 down by halves
}

TEST(AttractCycle, ClickingYesInTheDialogEndsTheProgram) {
  SimResult run = Simulate({"--trace", "--until-ms", "5000"},
                           "100 key 1 down\n"
                           "150 key 1 up\n"
                           "200 mouse 380 260\n"
                           "300 button 1 down\n"
                           "400 button 1 up\n");
  EXPECT_EQ(run.status, 0);
  ASSERT_FALSE(run.changes.empty());
  EXPECT_EQ(run.changes.back().to, 25) << run.out;
  EXPECT_NE(run.out.find("end code=0"), std::string::npos) << run.out;
  EXPECT_LT(run.changes.back().ms, 400);
}

TEST(AttractCycle, EscapeDuringPlayDoesNothing) {
  SimResult run = Simulate({"--trace", "--frame-us", "5000", "--until-ms", "6500"},
                           "10 key 57 down\n"
                           "20 key 57 up\n"
                           "5000 key 1 down\n");
  EXPECT_EQ(run.status, 0);
  std::string sequence = Sequence(run.changes);
  EXPECT_EQ(sequence, "1 5 6 ") << run.out.substr(0, 2000);
  ASSERT_EQ(run.changes.size(), 3u);
  EXPECT_LT(run.changes.back().ms, 5000) << "play must have begun before Escape";
}

}  // namespace
