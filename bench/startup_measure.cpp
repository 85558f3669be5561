// Start-up of the real game: from exec to the first frame that reaches the
// window, and the heap's peak until then, for one or more game executables
// measured in turns in the same run (so their figures can be compared as
// ratios). Needs a display (bench/run_startup.sh starts a private Xvfb)
// and bench's startup_probe library, which the game is started with.
//
//   startup_measure --probe LIB --run-dir DIR [--runs N] GAME [GAME...]
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
  double ms = 0;
  double heapMb = 0;
};

long long NowNs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

bool RunOnce(const std::string& game, const std::string& probe, const std::string& runDir, Sample& out) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return false;
  const long long start = NowNs();
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    close(pipeFd[0]);
    if (chdir(runDir.c_str()) != 0) _exit(127);
    setenv("LD_PRELOAD", probe.c_str(), 1);
    setenv("STAKKO_STARTUP_PROBE_FD", std::to_string(pipeFd[1]).c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFd[1]);
  char line[128] = {};
  ssize_t got = 0;
  for (;;) {
    ssize_t n = read(pipeFd[0], line + got, sizeof line - 1 - static_cast<size_t>(got));
    if (n <= 0) break;
    got += n;
  }
  close(pipeFd[0]);
  int status = 0;
  waitpid(child, &status, 0);
  long long presentedNs = 0, peakBytes = 0;
  if (std::sscanf(line, "%lld %lld", &presentedNs, &peakBytes) != 2) return false;
  out.ms = static_cast<double>(presentedNs - start) / 1e6;
  out.heapMb = static_cast<double>(peakBytes) / (1024.0 * 1024.0);
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string probe, runDir;
  int runs = 9;
  std::vector<std::string> games;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--probe") == 0 && i + 1 < argc) {
      probe = argv[++i];
    } else if (std::strcmp(argv[i], "--run-dir") == 0 && i + 1 < argc) {
      runDir = argv[++i];
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      games.push_back(argv[i]);
    }
  }
  if (probe.empty() || runDir.empty() || games.empty()) {
    std::fprintf(stderr, "usage: %s --probe LIB --run-dir DIR [--runs N] GAME [GAME...]\n", argv[0]);
    return 2;
  }
  std::vector<std::vector<Sample>> samples(games.size());
  // Turns: every game once per round, so a busy moment hits them alike.
  for (int r = 0; r < runs; ++r) {
    for (size_t g = 0; g < games.size(); ++g) {
      Sample s;
      if (!RunOnce(games[g], probe, runDir, s)) {
        std::fprintf(stderr, "startup_measure: %s showed no frame (is DISPLAY set?)\n", games[g].c_str());
        return 1;
      }
      samples[g].push_back(s);
    }
  }
  for (size_t g = 0; g < games.size(); ++g) {
    std::vector<double> ms, mb;
    for (const Sample& s : samples[g]) {
      ms.push_back(s.ms);
      mb.push_back(s.heapMb);
    }
    std::printf("%-40s first frame after %7.1f ms (median of %d, best %6.1f)   heap peak %6.1f MB\n",
                games[g].c_str(), Median(ms), runs, *std::min_element(ms.begin(), ms.end()), Median(mb));
  }
  return 0;
}
