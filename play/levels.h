// The player's progress: the quota of jewels per level, level-ups and what
// the level changes on screen.
#pragma once

// Raises the level once ToGo has run out: the new quota, the banner for
// five seconds.
void CheckLevelUp();

// Jewels a level asks for before the next one. Level 1 is easier than the
// rule for the others.
int LevelQuota(int level);

// Grey shade (0..255) of the play screen's background: darker every level,
// black from level 13.
int BackgroundGrey(int level);
