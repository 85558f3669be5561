#include "platform/sdl/sdl_x11_picture.h"

#ifdef STAKKO_X11

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/sdl/sdl_x11_refusals.h"

namespace platform {
namespace {

class SharedPicture final : public X11Picture {
 public:
  SharedPicture(Display* display, Window window, Visual* visual) : display_(display), window_(window), visual_(visual) {
    gc_ = XCreateGC(display_, window_, 0, nullptr);
  }
  ~SharedPicture() override {
    Release();
    XFreeGC(display_, gc_);
  }

  bool Fit(int width, int height) override {
    if (image_ != nullptr && image_->width == width && image_->height == height) return true;
    Release();
    if (width <= 0 || height <= 0) return false;
    image_ = XShmCreateImage(display_, visual_, 24, ZPixmap, nullptr, &segment_, width, height);
    if (image_ == nullptr) return false;
    if (image_->bits_per_pixel != 32 || image_->byte_order != LSBFirst) {
      Release();
      return false;
    }
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
      Release();
      return false;
    }
    void* memory = shmat(segment_.shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
      shmctl(segment_.shmid, IPC_RMID, nullptr);
      segment_.shmid = -1;
      Release();
      return false;
    }
    segment_.shmaddr = image_->data = static_cast<char*>(memory);
    segment_.readOnly = False;
    bool refused;
    {
      X11Refusals refusals(display_);
      XShmAttach(display_, &segment_);
      refused = refusals.Any();
    }
    // Marked for removal at once: the memory goes when both sides let go,
    // however this program ends.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    attached_ = !refused;
    if (refused) {
      Release();
      return false;
    }
    return true;
  }

  uint8_t* Pixels() override {
    // The server may still be copying the last frame out of this memory.
    if (putPending_) {
      XSync(display_, False);
      putPending_ = false;
    }
    return reinterpret_cast<uint8_t*>(image_->data);
  }
  int Pitch() const override { return image_->bytes_per_line; }

  bool Put(const Area& at, bool clearAround, int windowW, int windowH) override {
    if (image_ == nullptr) return false;
    if (clearAround) {
      XSetForeground(display_, gc_, 0);
      const int right = at.left + at.width;
      const int bottom = at.top + at.height;
      XRectangle bars[4];
      int count = 0;
      auto bar = [&](int x, int y, int w, int h) {
        if (w > 0 && h > 0)
          bars[count++] = XRectangle{static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(w),
                                     static_cast<unsigned short>(h)};
      };
      bar(0, 0, windowW, at.top);
      bar(0, bottom, windowW, windowH - bottom);
      bar(0, at.top, at.left, at.height);
      bar(right, at.top, windowW - right, at.height);
      if (count > 0) XFillRectangles(display_, window_, gc_, bars, count);
    }
    XShmPutImage(display_, window_, gc_, image_, 0, 0, at.left, at.top, image_->width, image_->height, False);
    XFlush(display_);
    putPending_ = true;
    return true;
  }

 private:
  void Release() {
    if (image_ == nullptr) return;
    if (attached_) XShmDetach(display_, &segment_);
    XSync(display_, False);
    putPending_ = false;
    if (image_->data != nullptr) shmdt(image_->data);
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
    attached_ = false;
  }

  Display* display_;
  Window window_;
  Visual* visual_;
  GC gc_;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool attached_ = false;
  bool putPending_ = false;
};

}  // namespace

std::unique_ptr<X11Picture> X11Picture::Open(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* display = info.info.x11.display;
  const Window xwindow = info.info.x11.window;
  if (display == nullptr || XShmQueryExtension(display) != True) return nullptr;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, xwindow, &attributes) == 0) return nullptr;
  // Our pixels are 0x00RRGGBB; a window of any other layout (or with an
  // alpha channel a compositor would honour) keeps the window surface.
  const Visual* v = attributes.visual;
  if (attributes.depth != 24 || v == nullptr || v->red_mask != 0xff0000 || v->green_mask != 0xff00 ||
      v->blue_mask != 0xff)
    return nullptr;
  return std::make_unique<SharedPicture>(display, xwindow, attributes.visual);
}

}  // namespace platform

#else

namespace platform {

std::unique_ptr<X11Picture> X11Picture::Open(SDL_Window*) { return nullptr; }

}  // namespace platform

#endif
