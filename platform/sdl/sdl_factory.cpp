#include "platform/sdl/sdl_factory.h"

#include "platform/sdl/sdl_backend.h"

namespace platform {

Backend* MakeSdlBackend(SdlPresentPath path) {
  auto* backend = new SdlBackend();
  backend->SetPresentPath(path);
  return backend;
}

}  // namespace platform
