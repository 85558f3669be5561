// The exit dialog: a box drawn with our own boxes, lines and system-font
// text on a black screen, two bevelled buttons worked with the mouse, and
// the game's pointer picture on top. No key does anything here.
#include "flow/confirm_exit.h"

#include "flow/globals.h"
#include "flow/end_program.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/input.h"

namespace {

constexpr int kButtonHeight = 20;
constexpr int kButtonMargin = 4;  // from the box's sides
constexpr int kButtonRise = 25;   // from the box's bottom edge to a button's top

struct ButtonKind {
  int value;
  const char* caption;
  int width;
  bool whiteCaption;
};

// Left to right: the answers that back out first, the one that goes ahead
// last, so Yes/No puts "No" on the left and "Yes" on the right.
constexpr ButtonKind kButtonKinds[] = {
    {DialogNo, "No", 55, true},
    {DialogCancel, "Cansel", 75, false},
    {DialogOk, "OK", 55, false},
    {DialogYes, "Yes", 55, true},
};
constexpr int kKindCount = sizeof kButtonKinds / sizeof kButtonKinds[0];

struct PlacedButton {
  const ButtonKind* kind = nullptr;
  int x = 0;
  int state = ButtonUp;
};

// A lone button is centred; otherwise the first sits at the left margin, the
// last at the right margin and any others are spread evenly between them.
int PlaceButtons(int x, int width, int buttons, PlacedButton (&placed)[kKindCount]) {
  int count = 0;
  int total = 0;
  for (const ButtonKind& kind : kButtonKinds) {
    if ((buttons & kind.value) == 0) continue;
    placed[count++].kind = &kind;
    total += kind.width;
  }
  if (count == 0) return 0;
  if (count == 1) {
    placed[0].x = x + width / 2 - placed[0].kind->width / 2;
    return count;
  }
  int left = x + kButtonMargin;
  int right = x + width - kButtonMargin;
  int gap = (right - left - total) / (count - 1);
  int at = left;
  for (int k = 0; k < count; ++k) {
    placed[k].x = at;
    at += placed[k].kind->width + gap;
  }
  placed[count - 1].x = right - placed[count - 1].kind->width;
  return count;
}

}  // namespace

void RunConfirmExit() {
  int result = ShowMessageDialog(220, 200, 200, 75, MakeColour(5, 199, 33), MakeColour(28, 15, 193), "Exit Stakko",
                                 "Do you want to stop?", DialogYes + DialogNo);
  if (result == DialogYes) EndProgram();
  G.CurrentState = G.SavedState;
}

int ShowMessageDialog(int x, int y, int w, int h, Colour body, Colour titleColour, const std::string& title,
                      const std::string& message, int buttons) {
  PlacedButton placed[kKindCount];
  int count = PlaceButtons(x, w, buttons, placed);
  // Without a button nothing could ever close the dialog.
  if (count == 0) return 0;

  for (;;) {
    // Nothing of the screen that was left shows through.
    ClearBackBuffer(G.ColourBlack);
    if (BeginScreenDrawing()) {
      SetPaintMode(PaintTransparentText);
      SetPenColour(G.ColourWhite);
      SetTextBackColour(G.ColourBlack);
      // White along the top and left edges, the body colour everywhere else.
      FillBox(x, y, w, h);
      SetPenColour(body);
      FillBox(x + 1, y + 1, w - 1, h - 1);
      SetPenColour(titleColour);
      DrawTextAt(x + 3, y + 2, title);
      EndScreenDrawing();
    }
    DrawCentredText(message, x + w / 2, y + h / 2 - 5, G.ColourWhite);

    for (int k = 0; k < count; ++k) {
      const ButtonKind& kind = *placed[k].kind;
      placed[k].state =
          DialogButton(placed[k].x, y + h - kButtonRise, kind.width, kButtonHeight, G.ColourButtonFace,
                       G.ColourButtonLight, G.ColourButtonDark, kind.whiteCaption ? G.ColourWhite : G.ColourBlack,
                       kind.caption, placed[k].state);
    }

    // The pointer goes on last, over everything, where the mouse was read.
    DisplaySpriteKeyed(G.CursorSprite, MousePosX(), MousePosY());
    FlipFrame();

    bool clicked = false;
    for (int k = 0; k < count; ++k) clicked = clicked || placed[k].state > ButtonPressed;
    if (clicked) break;
  }

  int result = 0;
  for (int k = 0; k < count; ++k) {
    if (placed[k].state == ButtonClicked) result += placed[k].kind->value;
  }
  return result;
}

// A press may begin anywhere: moving onto a button with the left button held
// presses it, moving off lets it up again, and letting go over a pressed
// button clicks it. The button's first row and column are not part of it.
int DialogButton(int x, int y, int w, int h, Colour face, Colour light, Colour dark, Colour captionColour,
                 const std::string& caption, int state) {
  PollMouse();
  int mx = MousePosX();
  int my = MousePosY();
  bool inside = mx > x && mx < x + w && my > y && my < y + h;
  bool down = IsMouseButtonDown(1) != 0;

  if (inside && state == ButtonPressed && !down) state = ButtonClicked;

  // In the frame of the click the button is drawn raised: it has come up.
  Colour upperLeft = light;
  Colour lowerRight = dark;
  if (state != ButtonClicked) {
    if (inside && (state == ButtonUp || state == ButtonPressed) && down) {
      upperLeft = dark;
      lowerRight = light;
      state = ButtonPressed;
    } else {
      state = ButtonUp;
    }
  }

  if (BeginScreenDrawing()) {
    // Two pixels of the upper-left colour along the top and left, one of the
    // lower-right colour just outside the face on the right and bottom.
    SetPenColour(upperLeft);
    DrawLine(x, y, w, 1);
    DrawLine(x, y + 1, w, 1);
    DrawLine(x, y, 1, h);
    DrawLine(x + 1, y, 1, h);
    SetPenColour(lowerRight);
    DrawLine(x + w - 1, y + 1, 1, h);
    DrawLine(x + w, y, 1, h);
    DrawLine(x + 1, y + h - 1, w, 1);
    DrawLine(x, y + h, w, 1);
    SetPenColour(face);
    FillBox(x + 2, y + 2, w - 2, h - 2);
    EndScreenDrawing();
  }
  DrawCentredText(caption, x + w / 2, y + h / 2, captionColour);
  return state;
}

// The text is placed as if it were 14 pixels high, whatever the font.
void DrawCentredText(const std::string& text, int cx, int cy, Colour colour) {
  if (!BeginScreenDrawing()) return;
  SetPaintMode(PaintTransparentText);
  SetPenColour(colour);
  DrawTextAt(cx - MeasureTextWidth(text) / 2, cy - 7, text);
  EndScreenDrawing();
}
