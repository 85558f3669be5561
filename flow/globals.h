// Every game-wide variable lives in one record, G, alive for the whole run.
#pragma once

#include <cstdint>
#include <string>

#include "flow/attract_particle.h"
#include "platform/image.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "play/well.h"
#include "scores/font_glyphs.h"
#include "scores/high_score_entry.h"

using ScreenState = int;
enum : ScreenState {
  StateTitle = 1,
  StateAttract = 2,
  StateHighScores = 3,
  StateHowTo = 4,
  StateGetReady = 5,
  StatePlaying = 6,
  StateGameOver = 7,
  StateConfirmExit = 25,
};

struct GameGlobals {
  // State machine and shared frame timing.
  ScreenState CurrentState = 0;
  ScreenState SavedState = 0;
  int32_t FrameTimeMs = 0;
  int64_t LastTick = 0;  // times are ElapsedMs (flow/game_clock.h)
  int64_t NowTick = 0;

  // Per-screen constants.
  float WaveAmplitude = 0.0f;
  float ParticleRise = 0.0f;
  float GetReadySpeed = 0.0f;
  float SlideSpeed = 0.0f;
  int32_t MusicVolume = 0;

  // Play.
  int32_t Score = 0;
  int32_t Level = 0;
  int32_t Stones = 0;
  int32_t ToGo = 0;
  int32_t LevelBanner = 0;
  int64_t LevelBannerTime = 0;
  int64_t KeyRepeatTime = 0;
  int32_t DropKeyLatch = 0;
  float FallPerLevel = 0.0f;
  float PieceX = 0.0f;
  float PieceY = 0.0f;
  int32_t PieceColumn = 0;
  int32_t PieceRow = 0;
  int32_t ScanRequested = 0;
  int32_t ExplosionDrawn = 0;
  int32_t ExplosionFrame = 0;
  int64_t ExplosionFrameTime = 0;

  // High scores and name entry.
  int32_t HighScoresLoaded = 0;
  int64_t NameKeyTime = 0;
  std::string PlayerName;

  // Arrays (entry 0 unused where the game numbers from 1).
  std::string MonthNames[13];
  Jewel Board[BoardColumns][BoardRows] = {};
  int32_t MarkGrid[BoardColumns][BoardRows] = {};
  int32_t ExplodeGrid[BoardColumns][BoardRows] = {};
  Jewel Piece[3] = {};
  Jewel NextPiece[3] = {};
  ImageId JewelImages[7] = {};
  ImageId ExplosionImages[11] = {};
  BitmapFont LargeFont;
  BitmapFont SmallFont;
  HighScoreEntry HighScoreTable[11];
  AttractParticle Particles[61];

  // Loaded assets, in load order.
  ImageId SmallFontSheet = 0;
  ImageId JewelSheet = 0;
  ImageId ExplosionSheet = 0;
  ImageId MainScreenImage = 0;
  ImageId HighscoreImage = 0;
  ImageId LargeFontSheet = 0;
  ImageId HowToImage = 0;
  SpriteId GameOverSprite = 0;
  SpriteId CursorSprite = 0;
  SpriteId GetReadySprite = 0;
  SoundId TitleMusic = 0;
  SoundId PlayMusic = 0;
  SoundId ExplosionSound = 0;
  SoundId DropSound = 0;
  SoundId HighScoreSound = 0;
  SoundId MissSound = 0;

  // Colours of the exit dialog.
  Colour ColourBlack = 0;
  Colour ColourWhite = 0;
  Colour ColourButtonFace = 0;
  Colour ColourButtonLight = 0;
  Colour ColourButtonDark = 0;

  // Game over: set when its closing wait leaves for the exit dialog, so that
  // coming back places, names and saves the same game's result only once.
  int32_t GameOverResultEntered = 0;

  // High scores: the table file exists but could not be read, so it is left
  // alone for the rest of the run (nothing is saved over it).
  int32_t HighScoreFileUnreadable = 0;
};

extern GameGlobals G;

// Puts every member back to zero or empty (start-up step 1; tests).
void ClearGameGlobals();

// Rounds to the nearest whole number, halves to even, as every drawn float
// position is.
int RoundHalfEven(double value);
