// Loaded into the real game with LD_PRELOAD by bench/run_pace.sh: counts the
// game's frames and the pictures it sends to the display, and every 100 ms
// appends a line to the descriptor named by STAKKO_PACE_PROBE_FD:
//
//   sample <monotonic ns> <frames> <pumps for reads> <pictures>
//          <game cpu ticks> <X server cpu ticks> <read sleeps>
//
// (cpu ticks: user + system time from /proc/PID/stat, in clock ticks; the
// server's pid comes in STAKKO_PACE_PROBE_SERVER_PID, 0 without). The game
// itself knows nothing of it. Linux and glibc only.
//
// Frames: the game pumps SDL's events once at the start of every frame
// (SdlEvents::Pump), but an input read pumps too when the last pump is over
// a millisecond old (SdlEvents::PumpForRead: the jewel fountain reads the
// keys sixty times a frame, and a slow frame leaves them that old). So each
// SDL_PumpEvents call is walked back a few callers, and one that comes
// through a function named PumpForRead, ReadKeyboard or ReadMouse (found in
// the executable's own symbol table) counts as a read, every other one as
// a frame. Pictures: XShmPutImage from the game's own image of the picture
// (the processor's path on X11), SDL_UpdateWindowSurface(Rects) where it
// draws into the window surface, SDL_RenderPresent for the graphics card.
// Read sleeps: nanosleep calls made from an input read, that is reads that
// the pace took for a wait and gave a frame's slot of their own.
#include <dlfcn.h>
#include <elf.h>
#include <execinfo.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

std::atomic<long long> frames{0};
std::atomic<long long> readPumps{0};
std::atomic<long long> pictures{0};
std::atomic<long long> readSleeps{0};
thread_local int insideSdlUpdate = 0;

struct Range {
  uintptr_t from;
  uintptr_t to;
};
std::vector<Range> readCode;  // the code of the input reads, as loaded

bool IsReadFunction(const char* name) {
  // Mangled names: platform::SdlEvents::PumpForRead, SdlBackend::PumpForRead,
  // SdlBackend::ReadKeyboard, SdlBackend::ReadMouse.
  return std::strstr(name, "11PumpForRead") != nullptr ||
         (std::strstr(name, "10SdlBackend") != nullptr &&
          (std::strstr(name, "12ReadKeyboard") != nullptr || std::strstr(name, "9ReadMouse") != nullptr));
}

int FindExecutableBase(dl_phdr_info* info, size_t, void* out) {
  *static_cast<uintptr_t*>(out) = info->dlpi_addr;  // the first entry is the executable
  return 1;
}

// The addresses of the read functions, from the symbol table of
// /proc/self/exe (a stripped executable has none: then every pump counts as
// a frame and the first sample line says so).
void FindReadCode() {
  const int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  if (fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(sizeof(Elf64_Ehdr))) {
    close(fd);
    return;
  }
  void* map = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return;
  const auto* bytes = static_cast<const uint8_t*>(map);
  const auto* header = reinterpret_cast<const Elf64_Ehdr*>(bytes);
  uintptr_t base = 0;
  dl_iterate_phdr(FindExecutableBase, &base);
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(bytes + header->e_shoff);
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_SYMTAB) continue;
    const auto* symbols = reinterpret_cast<const Elf64_Sym*>(bytes + sections[i].sh_offset);
    const char* names = reinterpret_cast<const char*>(bytes + sections[sections[i].sh_link].sh_offset);
    const size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
    for (size_t s = 0; s < count; ++s) {
      if (ELF64_ST_TYPE(symbols[s].st_info) != STT_FUNC || symbols[s].st_size == 0) continue;
      if (!IsReadFunction(names + symbols[s].st_name)) continue;
      readCode.push_back({base + symbols[s].st_value, base + symbols[s].st_value + symbols[s].st_size});
    }
  }
  munmap(map, static_cast<size_t>(st.st_size));
}

bool CalledFromRead() {
  void* callers[6];
  const int n = backtrace(callers, 6);
  // callers[0] is this probe; a return address points just past its call.
  for (int i = 1; i < n; ++i) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(callers[i]) - 1;
    for (const Range& r : readCode)
      if (at >= r.from && at < r.to) return true;
  }
  return false;
}

long long CpuTicks(const char* statPath) {
  FILE* f = std::fopen(statPath, "r");
  if (f == nullptr) return 0;
  char buffer[1024] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  const char* p = std::strrchr(buffer, ')');  // the name may hold spaces
  unsigned long utime = 0;
  unsigned long stime = 0;
  // After the name: the state, 10 numbers, then utime and stime.
  if (p == nullptr || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2)
    return 0;
  return static_cast<long long>(utime + stime);
}

void WriteSamples(int fd, int serverPid) {
  char serverStat[64];
  std::snprintf(serverStat, sizeof serverStat, "/proc/%d/stat", serverPid);
  if (readCode.empty()) {
    const char line[] = "note no read functions in the symbol table: every pump counts as a frame\n";
    if (write(fd, line, sizeof line - 1) < 0) return;
  }
  for (;;) {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    char line[192];
    const int n = std::snprintf(line, sizeof line, "sample %lld %lld %lld %lld %lld %lld %lld\n",
                                static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec, frames.load(),
                                readPumps.load(), pictures.load(), CpuTicks("/proc/self/stat"),
                                serverPid > 0 ? CpuTicks(serverStat) : 0LL, readSleeps.load());
    if (write(fd, line, static_cast<size_t>(n)) != n) return;
    timespec step{0, 100000000};
    nanosleep(&step, nullptr);
  }
}

// Before main: the symbol table is read and the unwinder loaded once, so
// the game's frames never pay for either.
__attribute__((constructor)) void Start() {
  const char* fd = std::getenv("STAKKO_PACE_PROBE_FD");
  if (fd == nullptr) return;
  FindReadCode();
  void* warm[2];
  backtrace(warm, 2);
  const char* server = std::getenv("STAKKO_PACE_PROBE_SERVER_PID");
  std::thread(WriteSamples, std::atoi(fd), server != nullptr ? std::atoi(server) : 0).detach();
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void SDL_PumpEvents(void) {
  static auto next = Next<void (*)()>("SDL_PumpEvents");
  if (CalledFromRead()) {
    readPumps.fetch_add(1, std::memory_order_relaxed);
  } else {
    frames.fetch_add(1, std::memory_order_relaxed);
  }
  next();
}

// The pace sleeps with std::this_thread::sleep_for, which is nanosleep or
// clock_nanosleep depending on the C++ library's version.
int nanosleep(const timespec* duration, timespec* left) {
  static auto next = Next<int (*)(const timespec*, timespec*)>("nanosleep");
  if (!readCode.empty() && CalledFromRead()) readSleeps.fetch_add(1, std::memory_order_relaxed);
  return next(duration, left);
}

int clock_nanosleep(clockid_t clock, int flags, const timespec* duration, timespec* left) {
  static auto next = Next<int (*)(clockid_t, int, const timespec*, timespec*)>("clock_nanosleep");
  if (!readCode.empty() && CalledFromRead()) readSleeps.fetch_add(1, std::memory_order_relaxed);
  return next(clock, flags, duration, left);
}

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Rect;

int SDL_UpdateWindowSurface(SDL_Window* window) {
  static auto next = Next<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface");
  ++insideSdlUpdate;  // SDL's X11 surface goes out through XShmPutImage too
  const int result = next(window);
  --insideSdlUpdate;
  pictures.fetch_add(1, std::memory_order_relaxed);
  return result;
}

int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  static auto next = Next<int (*)(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects");
  ++insideSdlUpdate;
  const int result = next(window, rects, count);
  --insideSdlUpdate;
  pictures.fetch_add(1, std::memory_order_relaxed);
  return result;
}

void SDL_RenderPresent(SDL_Renderer* renderer) {
  static auto next = Next<void (*)(SDL_Renderer*)>("SDL_RenderPresent");
  next(renderer);
  pictures.fetch_add(1, std::memory_order_relaxed);
}

struct _XDisplay;
struct _XGC;
struct _XImage;

int XShmPutImage(_XDisplay* display, unsigned long drawable, _XGC* gc, _XImage* image, int srcX, int srcY, int dstX,
                 int dstY, unsigned int width, unsigned int height, int sendEvent) {
  static auto next = Next<int (*)(_XDisplay*, unsigned long, _XGC*, _XImage*, int, int, int, int, unsigned int,
                                  unsigned int, int)>("XShmPutImage");
  if (insideSdlUpdate == 0) pictures.fetch_add(1, std::memory_order_relaxed);
  return next(display, drawable, gc, image, srcX, srcY, dstX, dstY, width, height, sendEvent);
}

}  // extern "C"
