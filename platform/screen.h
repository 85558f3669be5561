// The game's one window and its 640x480 back buffer.
#pragma once

#include <cstdint>
#include <string>

#include "platform/picture_format.h"

int StartScreenSystem();
int OpenGameScreen(int width, int height, int depth, const std::string& title,
                   int syncMode);
void ClearBackBuffer(Colour colour);
int FlipFrame();
void CloseGameScreen();
void StopScreenSystem();
int ShowMessageBox(const std::string& title, const std::string& text,
                   uint32_t flags);
