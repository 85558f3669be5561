// The screen: its colour layout, the depths it opens with, and no frame
// shown while the window is in the background.
#include <gtest/gtest.h>

#include "platform/screen.h"
#include "tests/test_support.h"

TEST_F(HeadlessTest, ScreenColourLayoutAndDepths) {
  ASSERT_EQ(StartScreenSystem(), 1);
  EXPECT_EQ(OpenGameScreen(640, 480, 24, "Stakko", 0), 0);
  EXPECT_FALSE(backend.windowOpen);
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  ClearBackBuffer(MakeColour(255, 0, 0));
  FlipFrame();
  EXPECT_EQ(backend.framesPresented, 1);
  EXPECT_EQ(backend.LastFramePixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(backend.lastFrame[0], 0x00FF0000u);  // red in memory's XRGB order
  EXPECT_EQ(MakeColour(1, 2, 3), 0x030201u);
  // The back buffer keeps its content across a flip.
  FlipFrame();
  EXPECT_EQ(backend.LastFramePixel(639, 479), MakeColour(255, 0, 0));
  CloseGameScreen();
  CloseGameScreen();  // harmless the second time
  EXPECT_EQ(std::count(backend.lifecycle.begin(), backend.lifecycle.end(), "CloseWindow"), 1);
}

TEST_F(HeadlessTest, FramesAreNotPresentedWhileUnfocused) {
  ASSERT_EQ(StartScreenSystem(), 1);
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  backend.SetFocus(false);
  int64_t before = backend.now;
  EXPECT_EQ(FlipFrame(), 1);
  EXPECT_EQ(backend.framesPresented, 0);
  EXPECT_GT(backend.now, before);  // the game keeps running
  backend.SetFocus(true);
  FlipFrame();
  EXPECT_EQ(backend.framesPresented, 1);
}
