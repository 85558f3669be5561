// Every picture of the game, each built by its own unit.
#pragma once

#include "tools/assets/raster.h"

namespace art {

Canvas JewelSheet();        // Jewels.bmp, 224x32
Canvas ExplosionSheet();    // explosion32.bmp, 352x32
Canvas LargeFontSheet();    // font.bmp, 352x128
Canvas SmallFontSheet();    // BKF-FONT.bmp, 320x48
Canvas TitlePicture();      // MainScreen.bmp, 640x480
Canvas HowToPicture();      // HowTo.bmp, 640x480
Canvas HighScoreHeading();  // Highscore.bmp, 372x150
Canvas GameOverSprite();    // Game_Over.bmp, 360x150
Canvas GetReadySprite();    // GetReady.bmp, 226x38
Canvas CursorSprite();      // Cursor.bmp, 32x32
Canvas WindowIcon();        // Icon.bmp, 64x64

}  // namespace art
