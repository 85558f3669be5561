// Gamepads, through SDL's own game-controller code with a virtual pad that
// SDL treats as a real one (plugged in and pulled out while the game runs),
// driving the real game on the headless backend's clock: the pad presses the
// keyboard's keys, so play's repeat delays and latches hold for it, and in
// the exit dialog it moves the game's pointer and clicks.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/confirm_exit.h"
#include "platform/input.h"
#include "platform/keycodes.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/timing.h"
#include "play/board.h"
#include "play/play.h"
#include "tests/play/play_fixture.h"

namespace {

// The headless backend with the pads' keys and pointer added, as the SDL
// backend adds them.
class PadBackend : public platform::HeadlessBackend {
 public:
  bool ReadKeyboard(uint8_t snapshot[256]) override {
    if (!HeadlessBackend::ReadKeyboard(snapshot)) return false;
    Pump();
    pads.AddHeldKeys(snapshot);
    return true;
  }
  bool ReadMouse(platform::MouseReading& out) override {
    if (!HeadlessBackend::ReadMouse(out)) return false;
    Pump();
    pads.AddToMouse(out, NowMicros());
    return true;
  }
  void Pump() {
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) pads.HandleEvent(e);
  }
  platform::SdlPads pads;
};

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetAllPlatformState();
    ClearGameGlobals();
    platform::SetBackend(&backend);
    ASSERT_TRUE(backend.pads.Start()) << SDL_GetError();
    playtest::WriteTestAssets(dir.path());
    StartUp();
    DealFirstPiece();
    G.CurrentState = StatePlaying;
    backend.pollStepMicros = 0;  // one millisecond per frame exactly
    G.FallPerLevel = 0.0f;       // the piece hangs at the spawn height
  }
  void TearDown() override {
    if (pad_ != nullptr) Unplug();
    backend.pads.Stop();
    platform::ResetAllPlatformState();
    platform::SetBackend(nullptr);
  }

  // A pad with the standard layout, plugged in now.
  void PlugIn() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Stakko test pad";
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index_, 0) << SDL_GetError();
    pad_ = SDL_JoystickOpen(index_);
    ASSERT_NE(pad_, nullptr) << SDL_GetError();
    backend.Pump();
    ASSERT_EQ(backend.pads.Count(), 1u);
  }
  void Unplug() {
    SDL_JoystickClose(pad_);
    pad_ = nullptr;
    SDL_JoystickDetachVirtual(index_);
  }
  void Button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad_, b, down ? 1 : 0); }
  void Stick(int x, int y) {
    SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
  }
  size_t Locks() const {
    size_t n = 0;
    for (const std::string& line : backend.traceLines) n += line.find(" lock ") != std::string::npos ? 1 : 0;
    return n;
  }

  ScopedWorkDir dir;
  PadBackend backend;
  SDL_Joystick* pad_ = nullptr;
  int index_ = -1;
};

TEST_F(Gamepad, PluggedInMidGameItMovesWithTheArrowsRepeatDropsOncePerPressAndLetsGoWhenPulledOut) {
  for (int n = 0; n < 50; ++n) RunPlayFrame();  // a game under way, no pad
  ASSERT_EQ(G.PieceColumn, 3);
  PlugIn();

  // D-pad Left held is Left held: a move at once, then the keyboard's
  // repeat (tests/play/piece_control_test.cpp), to the wall.
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  const int64_t pressed = ElapsedMs();
  const std::vector<int64_t> moves = playtest::LeftMovesOver(400);
  ASSERT_EQ(moves.size(), 3u);
  EXPECT_LE(moves[0] - pressed, 2);
  EXPECT_EQ(moves[2] - moves[0], 2 * 76);
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);

  // A held for a while drops one piece; a second press drops the next.
  const size_t before = Locks();
  Button(SDL_CONTROLLER_BUTTON_A, true);
  for (int n = 0; n < 100; ++n) RunPlayFrame();
  EXPECT_EQ(Locks(), before + 1);
  Button(SDL_CONTROLLER_BUTTON_A, false);
  for (int n = 0; n < 5; ++n) RunPlayFrame();
  Button(SDL_CONTROLLER_BUTTON_A, true);
  for (int n = 0; n < 5; ++n) RunPlayFrame();
  EXPECT_EQ(Locks(), before + 2);
  Button(SDL_CONTROLLER_BUTTON_A, false);
  for (int n = 0; n < 5; ++n) RunPlayFrame();

  // The stick pushed left moves the new piece; pulled out while held, the
  // pad lets go of Left and the piece stays where it is.
  ASSERT_EQ(G.PieceColumn, 3);
  Stick(-32768, 0);
  for (int n = 0; n < 90; ++n) RunPlayFrame();
  EXPECT_EQ(G.PieceColumn, 1);
  Unplug();
  for (int n = 0; n < 300; ++n) RunPlayFrame();
  EXPECT_EQ(backend.pads.Count(), 0u);
  EXPECT_EQ(G.PieceColumn, 1);
  EXPECT_EQ(IsKeyDown(KeyLeft), 0);
}

TEST_F(Gamepad, TheExitDialogIsAnsweredWithTheStickAndA) {
  PlugIn();
  // Stick within its dead zone: nothing moves.
  Stick(6000, -6000);
  const int startX = MousePosX();
  const int startY = MousePosY();
  // A player steering by what the screen shows: first into the top-left
  // corner, where the pointer stops as the mouse's does, then onto "Yes"
  // (361, 250, 55x20), and a press of A there.
  enum { kCorner, kToYes, kPress, kRelease } phase = kCorner;
  int cornerFrames = 0;
  int64_t first = backend.framesPresented;
  bool stayedInDeadZone = false;
  backend.onPresent = [&](platform::HeadlessBackend& b) {
    const int x = MousePosX();
    const int y = MousePosY();
    if (b.framesPresented == first + 100) stayedInDeadZone = x == startX && y == startY;
    if (b.framesPresented < first + 100) return;
    switch (phase) {
      case kCorner:
        Stick(-32768, -32768);
        if (x == 0 && y == 0 && ++cornerFrames > 200) phase = kToYes;
        break;
      case kToYes: {
        const int dx = x < 380 ? 1 : x > 396 ? -1 : 0;
        const int dy = y < 255 ? 1 : y > 265 ? -1 : 0;
        Stick(dx * 32767, dy * 32767);
        if (dx == 0 && dy == 0) phase = kPress;
        break;
      }
      case kPress:
        Stick(0, 0);
        Button(SDL_CONTROLLER_BUTTON_A, true);
        phase = kRelease;
        break;
      case kRelease:
        Button(SDL_CONTROLLER_BUTTON_A, false);
        break;
    }
  };
  backend.stopAfterFrames = first + 20000;
  G.SavedState = StatePlaying;
  G.CurrentState = StateConfirmExit;
  int exitCode = -1;
  try {
    RunConfirmExit();
  } catch (const platform::ProgramEnded& ended) {
    exitCode = ended.exitCode;
  } catch (const platform::RunStopped&) {
  }
  backend.onPresent = nullptr;
  EXPECT_TRUE(stayedInDeadZone);
  EXPECT_EQ(cornerFrames, 201);
  EXPECT_EQ(exitCode, 0) << "the pointer ended at " << MousePosX() << "," << MousePosY();
  // The corner to the button at a steady speed: 320 game pixels a second.
  const int64_t frames = backend.framesPresented - first;
  EXPECT_LT(frames, 100 + 200 + 1500);
}

}  // namespace
