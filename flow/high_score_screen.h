// The high-score attract screen.
#pragma once

#include <string>

void RunHighScores();
void SlideHighscorePicture();
void ShowHighScoreTable();
// Spaces in front of text up to width characters; longer text is never cut.
std::string LeftPad(const std::string& text, int width);
