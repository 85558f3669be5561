// The mouse-driven "Exit Stakko" dialog.
#pragma once

#include <string>

#include "platform/screen.h"

void RunConfirmExit();
// Draws text in the system font centred on (cx, cy); opens its own session.
void DrawCentredText(const std::string& text, int cx, int cy, Colour colour);
