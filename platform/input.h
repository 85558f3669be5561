// Keyboard snapshots and the relative mouse.
#pragma once

#include <string>

int StartKeyboard();
void StopKeyboard();
int ExamineKeys();
int IsKeyDown(int keyCode);
int WasKeyReleased(int keyCode);
std::string TakeTypedText();

int StartMouse();
void StopMouse();
int PollMouse();
int MousePosX();
int MousePosY();
int IsMouseButtonDown(int button);
