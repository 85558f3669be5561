// The mouse-driven "Exit Stakko" dialog.
#pragma once

#include <string>

#include "platform/screen.h"

void RunConfirmExit();

// Button kinds of ShowMessageDialog; a set of buttons is the sum of values.
enum DialogButtons : int {
  DialogOk = 1,
  DialogYes = 2,
  DialogNo = 4,
  DialogCancel = 8,
};

// What a dialog button is doing, kept by the dialog from frame to frame.
enum ButtonState : int {
  ButtonUp = 0,
  ButtonPressed = 1,
  ButtonClicked = 2,
};

// Shows a box with a title, a message and the given buttons on a black
// screen, presenting frames until one button is clicked; returns the value
// of the clicked button.
int ShowMessageDialog(int x, int y, int width, int height, Colour bodyColour, Colour titleColour,
                      const std::string& title, const std::string& message, int buttons);

// Reads the mouse, works out the button's new state from the old one and
// draws the button for this frame. Returns the new state.
int DialogButton(int x, int y, int width, int height, Colour faceColour, Colour lightColour, Colour darkColour,
                 Colour captionColour, const std::string& caption, int state);

// Draws text in the system font centred on (cx, cy); opens its own session.
void DrawCentredText(const std::string& text, int cx, int cy, Colour colour);
