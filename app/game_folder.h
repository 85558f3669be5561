// The folder the game runs in. On Linux the launcher (or the player) starts
// it in the folder that holds graphics, Sound and Data. On Windows those lie
// beside stakko.exe, and a shortcut or a prompt may start it anywhere, so
// the game moves into its own folder first.
#pragma once

// False, with the reason on the standard error, when the game's own folder
// cannot be entered.
bool EnterGameFolder();
