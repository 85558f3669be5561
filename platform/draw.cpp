// Placeholder until the drawing primitives land.
#include "platform/draw.h"

void SetPenColour(Colour) {}
void SetTextBackColour(Colour) {}
void SetPaintMode(unsigned) {}
void FillBox(int, int, int, int) {}
void DrawLine(int, int, int, int) {}
int DrawTextAt(int x, int, const std::string&) { return x; }
int MeasureTextWidth(const std::string&) { return 0; }
