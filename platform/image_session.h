// The drawing session shared by the image code and the drawing primitives.
// Internal to the platform layer.
#pragma once

#include "platform/screen.h"

namespace platform {

struct DrawingSession {
  Colour penColour = 0x00FFFFFF;
  Colour textBackColour = 0x00000000;
  unsigned paintMode = 0;
  int originX = 0;
  int originY = 0;
};

// The open session, or nullptr when none is open.
DrawingSession* CurrentSession();

}  // namespace platform
