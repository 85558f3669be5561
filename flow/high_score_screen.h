// The high-score attract screen.
#pragma once

#include <string>

void RunHighScores();
std::string LeftPad(const std::string& text, int width);
