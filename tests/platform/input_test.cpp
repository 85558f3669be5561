// Keyboard snapshots, the two release latches, typed characters and the
// clamped relative mouse, over the headless backend's US layout.
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "platform/keycodes.h"
#include "platform/screen.h"
#include "tests/test_support.h"

namespace {

constexpr int kA = 30;
constexpr int kB = 48;
constexpr int kOne = 2;
constexpr int kBackspace = 14;

class InputTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(StartKeyboard(), 1);
    ASSERT_EQ(StartScreenSystem(), 1);
    ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
    ASSERT_EQ(StartMouse(), 1);
  }
  // One key tapped between two reads of the typed text.
  std::string Tap(int key) {
    backend.SetKey(key, true);
    ExamineKeys();
    TakeTypedText();
    backend.SetKey(key, false);
    ExamineKeys();
    return TakeTypedText();
  }
};

}  // namespace

TEST_F(InputTest, SpaceHeldForManyFramesIsReleasedOnce) {
  backend.SetKey(KeySpace, true);
  for (int frame = 0; frame < 50; ++frame) {
    ASSERT_NE(ExamineKeys(), 0);
    EXPECT_EQ(IsKeyDown(KeySpace), 0x80);
    EXPECT_EQ(WasKeyReleased(KeySpace), 0) << frame;
  }
  backend.SetKey(KeySpace, false);
  ExamineKeys();
  EXPECT_EQ(IsKeyDown(KeySpace), 0);
  EXPECT_EQ(WasKeyReleased(KeySpace), 1);
  for (int frame = 0; frame < 5; ++frame) {
    ExamineKeys();
    EXPECT_EQ(WasKeyReleased(KeySpace), 0);
  }
  // A press and release both between two calls is never seen.
  backend.SetKey(KeySpace, true);
  backend.SetKey(KeySpace, false);
  ExamineKeys();
  EXPECT_EQ(WasKeyReleased(KeySpace), 0);
}

TEST_F(InputTest, TheTwoLatchesAreSeparate) {
  backend.SetKey(kA, true);
  ExamineKeys();
  EXPECT_EQ(TakeTypedText(), "");
  backend.SetKey(kA, false);
  ExamineKeys();
  // WasKeyReleased never saw A down; the typed text did.
  EXPECT_EQ(WasKeyReleased(kA), 0);
  EXPECT_EQ(TakeTypedText(), "a");
  EXPECT_EQ(TakeTypedText(), "");
}

TEST_F(InputTest, TypedTextComesInKeyCodeOrder) {
  // B pressed first, both let go between two calls: A (30) before B (48).
  backend.SetKey(kB, true);
  ExamineKeys();
  TakeTypedText();
  backend.SetKey(kA, true);
  ExamineKeys();
  EXPECT_EQ(TakeTypedText(), "");
  backend.SetKey(kB, false);
  backend.SetKey(kA, false);
  backend.SetKey(KeyLeftShift, true);
  ExamineKeys();
  EXPECT_EQ(TakeTypedText(), "AB");
  backend.SetKey(KeyLeftShift, false);
  EXPECT_EQ(Tap(kA), "a");
}

TEST_F(InputTest, ShiftAndCapsLockAsTheLayoutGivesThem) {
  EXPECT_EQ(Tap(kA), "a");
  EXPECT_EQ(Tap(kOne), "1");
  backend.SetKey(KeyRightShift, true);
  EXPECT_EQ(Tap(kA), "A");
  EXPECT_EQ(Tap(kOne), "!");
  backend.SetKey(KeyRightShift, false);
  // Caps Lock toggles on its press; the Caps Lock key itself types nothing.
  EXPECT_EQ(Tap(KeyCapsLock), "");
  EXPECT_EQ(Tap(kA), "A");
  EXPECT_EQ(Tap(kOne), "1");
  backend.SetKey(KeyLeftShift, true);
  EXPECT_EQ(Tap(kA), "a");
  EXPECT_EQ(Tap(kOne), "!");
}

TEST_F(InputTest, KeypadKeysTypeFixedCharacters) {
  const struct {
    int key;
    char c;
  } pad[] = {{82, '0'}, {79, '1'}, {80, '2'}, {81, '3'}, {75, '4'}, {76, '5'}, {77, '6'},
             {71, '7'}, {72, '8'}, {73, '9'}, {181, '/'}, {83, '.'}, {55, '*'}, {74, '-'}, {78, '+'}};
  for (auto p : pad) EXPECT_EQ(Tap(p.key), std::string(1, p.c)) << p.key;
  // Shift changes none of them.
  backend.SetKey(KeyLeftShift, true);
  EXPECT_EQ(Tap(71), "7");
}

TEST_F(InputTest, OnlyPrintableCharactersAndBackspaceAreTyped) {
  EXPECT_EQ(Tap(KeyEscape), "");
  EXPECT_EQ(Tap(KeyEnter), "");
  EXPECT_EQ(Tap(15), "");   // Tab
  EXPECT_EQ(Tap(KeyUp), "");
  EXPECT_EQ(Tap(KeySpace), " ");
  EXPECT_EQ(Tap(kBackspace), "\b");
}

TEST_F(InputTest, EveryKeyReadsUpWithoutFocus) {
  backend.SetKey(kA, true);
  backend.SetKey(KeySpace, true);
  ASSERT_NE(ExamineKeys(), 0);
  EXPECT_EQ(WasKeyReleased(KeySpace), 0);
  TakeTypedText();
  backend.SetFocus(false);
  EXPECT_EQ(ExamineKeys(), 0);
  EXPECT_EQ(IsKeyDown(kA), 0);
  EXPECT_EQ(IsKeyDown(KeySpace), 0);
  EXPECT_EQ(WasKeyReleased(KeySpace), 0);
  EXPECT_EQ(TakeTypedText(), "");
  // The first read after the focus returns works again.
  backend.SetFocus(true);
  EXPECT_NE(ExamineKeys(), 0);
  EXPECT_EQ(IsKeyDown(kA), 0x80);
  backend.SetKey(KeySpace, false);
  ExamineKeys();
  EXPECT_EQ(WasKeyReleased(KeySpace), 1);
}

TEST_F(InputTest, KeyboardNotStartedReadsNothing) {
  StopKeyboard();
  backend.SetKey(KeySpace, true);
  EXPECT_EQ(ExamineKeys(), 0);
  EXPECT_EQ(IsKeyDown(KeySpace), 0);
  EXPECT_EQ(IsKeyDown(-1), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
  EXPECT_EQ(WasKeyReleased(1000), 0);
}

TEST_F(InputTest, MouseIsClampedToTheScreen) {
  EXPECT_EQ(PollMouse(), 1);
  EXPECT_EQ(MousePosX(), 0);
  EXPECT_EQ(MousePosY(), 0);
  backend.MoveMouse(-500, -20);
  PollMouse();
  EXPECT_EQ(MousePosX(), 0);
  EXPECT_EQ(MousePosY(), 0);
  backend.MoveMouse(100, 50);
  PollMouse();
  EXPECT_EQ(MousePosX(), 100);
  EXPECT_EQ(MousePosY(), 50);
  backend.MoveMouse(100000, 100000);
  PollMouse();
  EXPECT_EQ(MousePosX(), 639);
  EXPECT_EQ(MousePosY(), 479);
  // Motion is summed per poll; a second poll without motion stays put.
  backend.MoveMouse(-10, -5);
  backend.MoveMouse(-10, -5);
  PollMouse();
  PollMouse();
  EXPECT_EQ(MousePosX(), 619);
  EXPECT_EQ(MousePosY(), 469);
  backend.SetButton(1, true);
  backend.SetButton(3, true);
  PollMouse();
  EXPECT_EQ(IsMouseButtonDown(1), 1);
  EXPECT_EQ(IsMouseButtonDown(2), 0);
  EXPECT_EQ(IsMouseButtonDown(3), 1);
  EXPECT_EQ(IsMouseButtonDown(0), 0);
  EXPECT_EQ(IsMouseButtonDown(4), 0);
}

TEST_F(InputTest, MouseDoesNotMoveWithoutFocus) {
  backend.MoveMouse(30, 40);
  PollMouse();
  backend.SetFocus(false);
  EXPECT_EQ(PollMouse(), 0);
  EXPECT_EQ(MousePosX(), 30);
  EXPECT_EQ(MousePosY(), 40);
  backend.SetFocus(true);
  EXPECT_EQ(PollMouse(), 1);
}

TEST_F(InputTest, MouseStartsAtTheOriginWhenTheScreenOpensAgain) {
  backend.MoveMouse(200, 300);
  backend.SetButton(1, true);
  PollMouse();
  ASSERT_EQ(MousePosX(), 200);
  ASSERT_EQ(IsMouseButtonDown(1), 1);
  CloseGameScreen();
  EXPECT_EQ(MousePosX(), 0);
  EXPECT_EQ(MousePosY(), 0);
  EXPECT_EQ(IsMouseButtonDown(1), 0);
  EXPECT_EQ(PollMouse(), 0);  // no screen, no mouse
  ASSERT_EQ(OpenGameScreen(640, 480, 32, "Stakko", 0), 1);
  backend.SetButton(1, false);
  PollMouse();
  EXPECT_EQ(MousePosX(), 0);
  EXPECT_EQ(MousePosY(), 0);
  EXPECT_EQ(IsMouseButtonDown(1), 0);
}
