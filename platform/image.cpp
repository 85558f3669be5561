// Placeholder until pictures land: nothing loads, nothing draws.
#include "platform/image.h"

ImageId LoadImageFile(const std::string&) { return 0; }
ImageId CutImage(ImageId, int, int, int, int) { return 0; }
void ReleaseImage(ImageId) {}
void BlitImage(ImageId, int, int) {}
SpriteId LoadSpriteFile(const std::string&) { return 0; }
void DisplaySpriteKeyed(SpriteId, int, int) {}
void DisplaySpriteOpaque(SpriteId, int, int) {}
SpriteId GrabScreenSprite(int, int, int, int) { return 0; }
void ReleaseAllSprites() {}
int BeginScreenDrawing() { return 1; }
void EndScreenDrawing() {}

namespace platform {
void ResetImageState() {}
}
