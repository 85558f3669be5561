#include "flow/startup.h"

#include "flow/confirm_exit.h"
#include "flow/end_program.h"
#include "flow/game_clock.h"
#include "flow/globals.h"
#include "play/board.h"
#include "play/levels.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "scores/bitmap_font.h"
#include "scores/high_scores.h"

namespace {

void GiveStartValues() {
  G.CurrentState = StateTitle;
  G.SavedState = 0;
  G.FrameTimeMs = 0;
  G.LastTick = ClockNowMs();
  G.NowTick = ClockNowMs();
  G.WaveAmplitude = 20.0f;
  G.ParticleRise = 0.015f;
  G.GetReadySpeed = 0.19f;
  G.SlideSpeed = 0.05f;
  G.MusicVolume = 50;
  G.Score = 0;
  G.Level = 1;
  G.Stones = 0;
  G.ToGo = LevelQuota(1);
  G.LevelBanner = 0;
  G.LevelBannerTime = ClockNowMs();
  G.KeyRepeatTime = ClockNowMs();
  G.DropKeyLatch = 0;
  G.FallPerLevel = 0.02f;
  G.PieceX = SpawnX;
  G.PieceY = SpawnY;
  G.PieceColumn = 0;
  G.PieceRow = 0;
  G.ScanRequested = 0;
  G.ExplosionDrawn = 0;
  G.ExplosionFrame = 0;
  G.ExplosionFrameTime = 0;
  G.HighScoresLoaded = 0;
  G.NameKeyTime = ClockNowMs();
  G.PlayerName.clear();
}

void CreateArrays() {
  for (int m = 0; m < 13; ++m) G.MonthNames[m] = kMonthNames[m];
  for (auto& column : G.Board)
    for (auto& cell : column) cell = 0;
  for (auto& column : G.MarkGrid)
    for (auto& cell : column) cell = 0;
  for (auto& column : G.ExplodeGrid)
    for (auto& cell : column) cell = 0;
  for (int k = 0; k < 3; ++k) G.Piece[k] = G.NextPiece[k] = 0;
  for (auto& entry : G.HighScoreTable) entry = HighScoreEntry{};
  for (auto& particle : G.Particles) particle = AttractParticle{};
}

void LoadAssets() {
  G.SmallFontSheet = LoadImageFile("graphics\\BKF-FONT.bmp");
  G.JewelSheet = LoadImageFile("graphics\\Jewels.bmp");
  G.ExplosionSheet = LoadImageFile("graphics\\explosion32.bmp");
  G.MainScreenImage = LoadImageFile("graphics\\MainScreen.bmp");
  G.HighscoreImage = LoadImageFile("graphics\\Highscore.bmp");
  G.LargeFontSheet = LoadImageFile("graphics\\font.bmp");
  G.HowToImage = LoadImageFile("graphics\\HowTo.bmp");
  G.GameOverSprite = LoadSpriteFile("graphics\\Game_Over.bmp");
  G.CursorSprite = LoadSpriteFile("graphics\\Cursor.bmp");
  G.GetReadySprite = LoadSpriteFile("graphics\\GetReady.bmp");
  G.TitleMusic = LoadSoundFile("Sound\\Stakko.wav");
  G.PlayMusic = LoadSoundFile("Sound\\Nu Battle.wav");
  G.ExplosionSound = LoadSoundFile("Sound\\Explosion.wav");
  G.DropSound = LoadSoundFile("Sound\\Drop.wav");
  G.HighScoreSound = LoadSoundFile("Sound\\HighScore.wav");
  G.MissSound = LoadSoundFile("Sound\\awwww.wav");
}

void CutSheets() {
  for (int i = 0; i <= 6; ++i) G.JewelImages[i] = CutImage(G.JewelSheet, 32 * i, 0, 32, 32);
  for (int i = 0; i <= 10; ++i) G.ExplosionImages[i] = CutImage(G.ExplosionSheet, 32 * i, 0, 32, 32);
  LoadBitmapFonts();
}

}  // namespace

void StartUp() {
  ClearGameGlobals();
  // A stop signal ends the game through its own shut-down.
  platform::SetStopAction(&EndProgram);

  // All five run, whatever the earlier ones gave.
  bool ok = true;
  if (StartKeyboard() == 0) ok = false;
  if (StartScreenSystem() == 0) ok = false;
  if (StartMouse() == 0) ok = false;
  if (StartSoundSystem() == 0) ok = false;
  if (OpenGameScreen(640, 480, 32, "Stakko", 0) == 0) ok = false;
  if (!ok) {
    ShowMessageBox("Error!", "Unable to Initialize game settings.", 0);
    EndProgram(1);
  }

  G.ColourBlack = MakeColour(0, 0, 0);
  G.ColourWhite = MakeColour(255, 255, 255);
  G.ColourButtonFace = MakeColour(130, 130, 130);
  G.ColourButtonLight = MakeColour(170, 170, 170);
  G.ColourButtonDark = MakeColour(100, 100, 100);

  GiveStartValues();
  CreateArrays();

  // Drawn but not presented: the title clears the back buffer first.
  DrawCentredText("Loading Graphics", 320, 240, G.ColourWhite);

  LoadAssets();
  CutSheets();
  G.CurrentState = StateTitle;
}
