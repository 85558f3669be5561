// The play screen: the last three steps of every play frame.
#pragma once

// Presents the picture the previous frame drew (with the explosion drawn
// over it) and blanks the back buffer.
void FlipAndClear();
// The whole play picture: background, score panel, well, piece, next
// piece and the level-up banner.
void DrawPlayScreen();
