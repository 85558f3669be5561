// The falling piece: its steady fall, landing, the keys and the lock.
#pragma once

void FallStep();
// Locks the piece once the cell below its bottom jewel is taken or the
// floor is reached.
void CheckLanding();
// Space drops the piece; Up cycles it, Left and Right move it, each with
// its repeat delay.
void HandlePlayKeys();
// Drops the piece down its column from the start row and writes it into
// the Board, or ends the game when it does not fit in the well.
void LockPiece(int startRow);
