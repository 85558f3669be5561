// Images (drawn in drawing sessions), sprites (displayed directly, keyed on
// black or opaque) and drawing sessions on the back buffer.
#pragma once

#include <string>

using ImageId = int;
using SpriteId = int;

ImageId LoadImageFile(const std::string& name);
ImageId CutImage(ImageId source, int x, int y, int width, int height);
void ReleaseImage(ImageId image);  // -1 releases every image
void BlitImage(ImageId image, int x, int y);

SpriteId LoadSpriteFile(const std::string& name);
void DisplaySpriteKeyed(SpriteId sprite, int x, int y);
void DisplaySpriteOpaque(SpriteId sprite, int x, int y);
SpriteId GrabScreenSprite(int x, int y, int width, int height);
// Frees one sprite: a still of the screen is only needed while it is shown.
void ReleaseSprite(SpriteId sprite);
void ReleaseAllSprites();

int BeginScreenDrawing();
void EndScreenDrawing();
