// Loaded into the real game with LD_PRELOAD by startup_measure: counts the
// heap the process holds (every malloc family call, the C++ allocator's
// included) and, at the first frame that reaches the window, writes the
// time and the heap's peak so far to the descriptor named by
// STAKKO_STARTUP_PROBE_FD and ends the process. The game itself knows
// nothing of it. glibc only (its __libc_* entry points).
#include <dlfcn.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {
void* __libc_malloc(size_t);
void __libc_free(void*);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
}

namespace {

std::atomic<long long> live{0};
std::atomic<long long> peak{0};

void Count(void* p) {
  if (p == nullptr) return;
  const long long now = live.fetch_add(static_cast<long long>(malloc_usable_size(p))) +
                        static_cast<long long>(malloc_usable_size(p));
  long long seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}

void Uncount(void* p) {
  if (p != nullptr) live.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
}

void Report() {
  static std::atomic<bool> done{false};
  if (done.exchange(true)) return;
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  const char* fd = std::getenv("STAKKO_STARTUP_PROBE_FD");
  if (fd != nullptr) {
    char line[96];
    int n = std::snprintf(line, sizeof line, "%lld %lld\n",
                          static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec, peak.load());
    if (write(std::atoi(fd), line, static_cast<size_t>(n)) != n) _exit(3);
  }
  _exit(0);
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  Count(p);
  return p;
}

void free(void* p) {
  Uncount(p);
  __libc_free(p);
}

void* calloc(size_t n, size_t size) {
  void* p = __libc_calloc(n, size);
  Count(p);
  return p;
}

void* realloc(void* old, size_t n) {
  const long long before = old != nullptr ? static_cast<long long>(malloc_usable_size(old)) : 0;
  void* p = __libc_realloc(old, n);
  if (p != nullptr || n == 0) live.fetch_sub(before);
  Count(p);
  return p;
}

void* memalign(size_t alignment, size_t n) {
  void* p = __libc_memalign(alignment, n);
  Count(p);
  return p;
}

void* aligned_alloc(size_t alignment, size_t n) { return memalign(alignment, n); }

int posix_memalign(void** out, size_t alignment, size_t n) {
  void* p = memalign(alignment, n);
  if (p == nullptr) return 12;  // ENOMEM
  *out = p;
  return 0;
}

// The ways a frame reaches the window.
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Rect;

int SDL_UpdateWindowSurface(SDL_Window* window) {
  int result = Next<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface")(window);
  Report();
  return result;
}

int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  int result = Next<int (*)(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects")(window, rects, count);
  Report();
  return result;
}

void SDL_RenderPresent(SDL_Renderer* renderer) {
  Next<void (*)(SDL_Renderer*)>("SDL_RenderPresent")(renderer);
  Report();
}

// The X11 image of the picture's own size: its frame has reached the window
// once the server has answered (the game waits for that too).
struct _XDisplay;
struct _XGC;
struct _XImage;

int XShmPutImage(_XDisplay* display, unsigned long drawable, _XGC* gc, _XImage* image, int srcX, int srcY, int dstX,
                 int dstY, unsigned int width, unsigned int height, int sendEvent) {
  int result = Next<int (*)(_XDisplay*, unsigned long, _XGC*, _XImage*, int, int, int, int, unsigned int, unsigned int,
                            int)>("XShmPutImage")(display, drawable, gc, image, srcX, srcY, dstX, dstY, width, height,
                                                  sendEvent);
  Next<int (*)(_XDisplay*, int)>("XSync")(display, 0);
  Report();
  return result;
}

}  // extern "C"
