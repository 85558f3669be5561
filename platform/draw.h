// Boxes, lines and system-font text inside a drawing session.
#pragma once

#include <string>

#include "platform/picture_format.h"

enum PaintFlags : unsigned {
  PaintTransparentText = 1,
  PaintInvert = 2,
  PaintOutline = 4,
};

void SetPenColour(Colour colour);
void SetTextBackColour(Colour colour);
void SetPaintMode(unsigned flags);
void FillBox(int x, int y, int w, int h);
void DrawLine(int x, int y, int w, int h);
int DrawTextAt(int x, int y, const std::string& text);
int MeasureTextWidth(const std::string& text);
