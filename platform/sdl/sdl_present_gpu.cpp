#include "platform/sdl/sdl_present_gpu.h"

#include <algorithm>
#include <cstring>
#if defined(__linux__)
#include <filesystem>
#include <system_error>
#endif

#include "platform/scaler.h"

namespace platform {

namespace {

// What an OpenGL context calls its renderer, to tell a card from a
// rasteriser on the processor.
bool OpenGlIsSoftware() {
  using GetString = const unsigned char* (*)(unsigned int);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return true;
  const auto* text = reinterpret_cast<const char*>(getString(0x1F01));  // GL_RENDERER
  if (text == nullptr) return true;
  for (const char* soft : {"llvmpipe", "softpipe", "Software", "software", "SWR", "swrast", "lavapipe"})
    if (std::strstr(text, soft) != nullptr) return true;
  return false;
}

bool IsHardware(SDL_Renderer* renderer, std::string& name) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
  name = info.name != nullptr ? info.name : "?";
  if ((info.flags & SDL_RENDERER_ACCELERATED) == 0 || name == "software") return false;
  if (name.rfind("opengl", 0) == 0) return !OpenGlIsSoftware();
  return true;
}

}  // namespace

bool SdlGpuPresenter::HardwareAvailable(std::string& name) {
  name = "none";
#if defined(__linux__)
  // Without a kernel graphics device (most containers and virtual machines)
  // any renderer draws on the processor, and trying one first would only
  // delay the start by the rasteriser's set-up.
  std::error_code error;
  if (!std::filesystem::exists("/dev/dri", error)) return false;
#endif
  bool any = false;
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED) != 0 &&
        std::strcmp(info.name, "software") != 0)
      any = true;
  }
  if (!any) return false;
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_HIDDEN);
  if (probe == nullptr) return false;
  bool hardware = false;
  if (SDL_Renderer* renderer = SDL_CreateRenderer(probe, -1, SDL_RENDERER_ACCELERATED); renderer != nullptr) {
    hardware = IsHardware(renderer, name);
    SDL_DestroyRenderer(renderer);
  }
  SDL_DestroyWindow(probe);
  return hardware;
}

bool SdlGpuPresenter::Start(SDL_Window* window, int width, int height) {
  Stop();
  renderer_ = SDL_CreateRenderer(window, -1, 0);
  if (renderer_ == nullptr) return false;
  frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (frame_ == nullptr) {
    Stop();
    return false;
  }
  SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
  width_ = width;
  height_ = height;
  return true;
}

void SdlGpuPresenter::Stop() {
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  frame_ = nullptr;
  renderer_ = nullptr;
}

bool SdlGpuPresenter::Present(const uint32_t* pixels, int width, int height) {
  if (renderer_ == nullptr || width != width_ || height != height_) return false;
  int outW = 0;
  int outH = 0;
  if (SDL_GetRendererOutputSize(renderer_, &outW, &outH) != 0 || outW <= 0 || outH <= 0) return false;
  if (SDL_UpdateTexture(frame_, nullptr, pixels, width * 4) != 0) return false;
  // The same area as the processor's path, drawn with the same sharp
  // nearest-neighbour pixels; whole factors crop a screen smaller than the
  // picture, as the processor's path does.
  const Placement whole = PlaceInside(width, height, outW, outH);
  area_ = PictureArea(scale_, width, height, outW, outH);
  const SDL_Rect from = scale_ == ScaleChoice::kInteger
                            ? SDL_Rect{0, 0, whole.cols, whole.rows}
                            : SDL_Rect{0, 0, width, height};
  const SDL_Rect to{area_.left, area_.top, area_.width, area_.height};
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (SDL_RenderCopy(renderer_, frame_, &from, &to) != 0) return false;
  SDL_RenderPresent(renderer_);
  return true;
}

}  // namespace platform
