// The end of a game: the falling picture, name entry, the saved table.
#pragma once

void RunGameOver();
