// Captions drawn from the two glyph sheets.
#pragma once

#include <string>

#include "scores/font_glyphs.h"

void LoadBitmapFonts();
void DrawBitmapText(const BitmapFont& font, const std::string& text, int x, int y);
