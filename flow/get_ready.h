// Starting a game: fresh grids and counters, the play music, the slide.
#pragma once

void RunGetReady();
void ClearBoards();
void StartPlayMusic();
// The get-ready picture crosses the white screen right to left; play
// follows.
void SlideGetReady();
