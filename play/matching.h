// Lines of three or more alike: the scan, the explosion and its animation,
// and the jewels settling afterwards.
#pragma once

// Step 1 of a play frame: when asked to and no explosion is on screen,
// finds a line, makes it the exploding one and scores it.
void ScanForRuns();
// Length of the first line of 3 or more from (x, y), its cells left marked
// in MarkGrid, or -1 when there is none. (x, y) must already be marked.
int CountRun(int x, int y);
void ClearMarks();
// The marked line becomes the exploding one (replacing any before it).
void TakeRun();
// Counts and scores every exploding cell.
void ScoreExplosion();
// Step 2 of a play frame: draws the exploding cells over the last picture
// and moves the animation on; at its end removes the jewels.
void AnimateExplosion();
void RemoveExploded();
// Every jewel falls to the bottom of its column, keeping its order.
void SettleJewels();
