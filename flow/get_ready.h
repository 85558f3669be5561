// Starting a game: fresh grids and counters, the play music, the slide.
#pragma once

void RunGetReady();
void ClearBoards();
