// The end of a game: the falling picture, name entry, the saved table.
#pragma once

#include <string>

void RunGameOver();

// The game-over picture falls over a still of the final board.
void SlideGameOverPicture();
// Enters a result that reached the table (row 1..10) with the player's name
// and saves the table, or plays the miss sound (row 0); then the closing wait.
void FinishGameOver(int row);
// Lets the player edit the offered name; returns it when Return is held.
std::string EnterPlayerName();
