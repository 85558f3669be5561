// The exit dialog: where every part of it is drawn, how its buttons answer
// the mouse, and what "Yes" and "No" do; and the centred system-font text
// it shares with the start-up notice.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "flow/confirm_exit.h"
#include "flow/globals.h"
#include "flow/startup.h"
#include "platform/bitmap_file.h"
#include "platform/draw.h"
#include "platform/image.h"
#include "platform/internal/back_buffer.h"
#include "platform/input.h"
#include "platform/keycodes.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;
using platform::HeadlessBackend;

namespace {

// Pixels as the back buffer holds them (0x00RRGGBB).
constexpr uint32_t Rgb(int r, int g, int b) {
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}
constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr uint32_t kBody = Rgb(5, 199, 33);
constexpr uint32_t kTitle = Rgb(28, 15, 193);
constexpr uint32_t kFace = Rgb(130, 130, 130);
constexpr uint32_t kLight = Rgb(170, 170, 170);
constexpr uint32_t kDark = Rgb(100, 100, 100);
constexpr uint32_t kPointer = Rgb(255, 0, 255);

struct Rect {
  int x0, y0, x1, y1;  // inclusive
  bool Has(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

class ExitDialog : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    // A 6 by 6 pointer whose pixel (2, 2) is black, so keyed out.
    std::vector<uint32_t> pointer(36, kPointer);
    pointer[2 * 6 + 2] = 0;
    fs::create_directories("graphics");
    ASSERT_TRUE(platform::WriteBitmap24("graphics/Cursor.bmp", pointer.data(), 6, 6));
    StartUp();
    G.SavedState = StateHowTo;
    G.CurrentState = StateConfirmExit;
  }

  uint32_t Shown(int x, int y) const { return backend.lastFrame[static_cast<size_t>(y) * 640 + x]; }

  static int TextWidth(const std::string& text) {
    if (!BeginScreenDrawing()) return -1;
    int w = MeasureTextWidth(text);
    EndScreenDrawing();
    return w;
  }

  // Pixels of colour inside area, and whether they all lie in allowed.
  void ExpectOnlyWithin(uint32_t colour, Rect area, Rect allowed, const char* what) const {
    int count = 0;
    int stray = 0;
    for (int y = area.y0; y <= area.y1; ++y)
      for (int x = area.x0; x <= area.x1; ++x) {
        if (Shown(x, y) != colour) continue;
        ++count;
        if (!allowed.Has(x, y)) ++stray;
      }
    EXPECT_GT(count, 0) << what << " is not drawn";
    EXPECT_EQ(stray, 0) << what << " is drawn outside its place";
  }

  // The bevel of a w 55, h 20 button at (x, y): two pixels of the upper-left
  // colour along the top and left, one of the lower-right colour just outside
  // the face on the right and bottom, the face inside.
  void ExpectButton(int x, int y, uint32_t upperLeft, uint32_t lowerRight, const char* what) const {
    SCOPED_TRACE(what);
    const int w = 55, h = 20;
    for (auto [px, py] : {std::pair{x, y}, {x + w - 1, y}, {x, y + 1}, {x + 1, y + 1}, {x, y + h - 1},
                          {x + 1, y + h - 2}, {x + w - 2, y + 1}})
      EXPECT_EQ(Shown(px, py), upperLeft) << px << "," << py;
    for (auto [px, py] : {std::pair{x + w - 1, y + 1}, {x + w, y}, {x + w, y + h - 1}, {x + 1, y + h - 1},
                          {x, y + h}, {x + w - 1, y + h}})
      EXPECT_EQ(Shown(px, py), lowerRight) << px << "," << py;
    for (auto [px, py] : {std::pair{x + 2, y + 2}, {x + w - 1, y + 2}, {x + 2, y + h - 1}, {x + w - 1, y + h - 1}})
      EXPECT_EQ(Shown(px, py), kFace) << px << "," << py;
    // The corner beyond both outer edges is left alone.
    EXPECT_EQ(Shown(x + w, y + h), kBody);
    EXPECT_EQ(Shown(x - 1, y), kBody);
    EXPECT_EQ(Shown(x, y - 1), kBody);
  }

  // One step of mouse input: where the pointer is and whether the left
  // button (and Escape) is held while the dialog reads it.
  struct Step {
    int x, y;
    bool down;
    bool escape = false;
  };
  enum class Outcome { Stayed, No, Yes };

  // Runs the dialog from step 0, moving on one step per presented frame and
  // holding the last one for a few frames more.
  Outcome Drive(const std::vector<Step>& steps, int* framesUsed = nullptr) {
    int targetX = MousePosX(), targetY = MousePosY();
    auto apply = [&](HeadlessBackend& b, const Step& s) {
      b.MoveMouse(s.x - targetX, s.y - targetY);
      targetX = s.x;
      targetY = s.y;
      b.SetButton(1, s.down);
      b.SetKey(KeyEscape, s.escape);
      b.SetKey(KeyEnter, s.escape);
    };
    int64_t first = backend.framesPresented;
    apply(backend, steps[0]);
    backend.onPresent = [&](HeadlessBackend& b) {
      size_t n = static_cast<size_t>(b.framesPresented - first);
      if (n < steps.size()) apply(b, steps[n]);
    };
    backend.stopAfterFrames = first + static_cast<int64_t>(steps.size()) + 3;
    Outcome outcome = Outcome::No;
    try {
      RunConfirmExit();
    } catch (const platform::RunStopped&) {
      outcome = Outcome::Stayed;
    } catch (const platform::ProgramEnded& ended) {
      EXPECT_EQ(ended.exitCode, 0);
      outcome = Outcome::Yes;
    }
    if (framesUsed != nullptr) *framesUsed = static_cast<int>(backend.framesPresented - first);
    backend.onPresent = nullptr;
    backend.stopAfterFrames = 0;
    return outcome;
  }

  ScopedWorkDir dir_;
};

TEST_F(ExitDialog, EveryPartIsDrawnWhereItBelongs) {
  ASSERT_NE(G.CursorSprite, 0) << "the pointer picture did not load";
  backend.MoveMouse(30, 40);
  backend.stopAfterFrames = 1;
  EXPECT_THROW(RunConfirmExit(), platform::RunStopped);

  // The box: white along its top and left edges, the body colour elsewhere,
  // covering (220, 200) to (419, 274).
  for (auto [x, y] : {std::pair{220, 200}, {419, 200}, {220, 274}, {300, 200}, {220, 230}})
    EXPECT_EQ(Shown(x, y), kWhite) << x << "," << y;
  for (auto [x, y] : {std::pair{221, 201}, {419, 201}, {221, 274}, {419, 274}, {300, 245}})
    EXPECT_EQ(Shown(x, y), kBody) << x << "," << y;
  // Nothing else on the screen but the pointer.
  const Rect box{220, 200, 419, 274};
  const Rect pointer{30, 40, 35, 45};
  int outside = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (!box.Has(x, y) && !pointer.Has(x, y) && Shown(x, y) != kBlack) ++outside;
  EXPECT_EQ(outside, 0);

  // The pointer, keyed on black, with its corner at the mouse.
  EXPECT_EQ(Shown(30, 40), kPointer);
  EXPECT_EQ(Shown(35, 45), kPointer);
  EXPECT_EQ(Shown(32, 42), kBlack);

  // The title from (223, 202); the question centred on (320, 232) as if
  // 14 pixels high; the captions centred on their buttons.
  const int titleW = TextWidth("Exit Stakko");
  const int questionW = TextWidth("Do you want to stop?");
  const int noW = TextWidth("No");
  const int yesW = TextWidth("Yes");
  ASSERT_GT(titleW, 0);
  ExpectOnlyWithin(kTitle, box, {223, 202, 223 + titleW - 1, 202 + 20}, "the title");
  ExpectOnlyWithin(kWhite, {221, 201, 419, 249}, {320 - questionW / 2, 225, 320 - questionW / 2 + questionW - 1, 249},
                   "the question");
  ExpectOnlyWithin(kWhite, {226, 252, 278, 269}, {251 - noW / 2, 253, 251 - noW / 2 + noW - 1, 269}, "\"No\"");
  ExpectOnlyWithin(kWhite, {363, 252, 415, 269}, {388 - yesW / 2, 253, 388 - yesW / 2 + yesW - 1, 269}, "\"Yes\"");

  ExpectButton(224, 250, kLight, kDark, "No, raised");
  ExpectButton(361, 250, kLight, kDark, "Yes, raised");
}

TEST_F(ExitDialog, AButtonHeldDownLooksSunkenAndThePointerIsOnTop) {
  backend.MoveMouse(266, 262);  // over "No"'s face, right of its caption
  backend.SetButton(1, true);
  backend.stopAfterFrames = 1;
  EXPECT_THROW(RunConfirmExit(), platform::RunStopped);
  ExpectButton(361, 250, kLight, kDark, "Yes, raised");
  // The pointer covers the "No" button from (266, 262).
  EXPECT_EQ(Shown(266, 262), kPointer);
  EXPECT_EQ(Shown(268, 264), kFace);  // seen through the pointer's black pixel
  ExpectButton(224, 250, kDark, kLight, "No, pressed");
}

TEST_F(ExitDialog, ClicksCountOnlyWhenPressedAndReleasedOverTheButton) {
  // Pressed on "Yes", slid off, let go outside: nothing.
  EXPECT_EQ(Drive({{380, 260, true}, {380, 260, true}, {300, 150, true}, {300, 150, false}}), Outcome::Stayed);
  // Pressed outside, moved onto "No", let go there: back to the saved screen.
  int frames = 0;
  EXPECT_EQ(Drive({{100, 100, true}, {250, 260, true}, {250, 260, false}}, &frames), Outcome::No);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(G.CurrentState, StateHowTo);
}

TEST_F(ExitDialog, ButtonEdgesAndTheWayBackOn) {
  // The first row and column of a button, and the pixels just past it, miss.
  for (auto [x, y] : {std::pair{250, 250}, {224, 260}, {279, 260}, {250, 270}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_EQ(Drive({{x, y, false}, {x, y, true}, {x, y, false}}), Outcome::Stayed);
  }
  // Just inside them counts.
  for (auto [x, y] : {std::pair{225, 251}, {278, 269}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    G.CurrentState = StateConfirmExit;
    EXPECT_EQ(Drive({{x, y, false}, {x, y, true}, {x, y, false}}), Outcome::No);
  }
  // Sliding off un-presses; sliding back on with the button held presses
  // again, and letting go there ends the program.
  G.CurrentState = StateConfirmExit;
  EXPECT_EQ(Drive({{380, 260, true}, {380, 300, true}, {380, 260, true}, {380, 260, false}}), Outcome::Yes);
  EXPECT_TRUE(backend.ended);
  EXPECT_EQ(backend.exitCode, 0);
}

TEST_F(ExitDialog, KeysDoNothing) {
  EXPECT_EQ(Drive({{0, 0, false, true}, {250, 260, false, true}, {380, 260, false, true}}), Outcome::Stayed);
  EXPECT_EQ(G.CurrentState, StateConfirmExit);
}

TEST_F(ExitDialog, TheResultIsTheClickedButtonsValue) {
  auto click = [this](int x, int y, int buttons) {
    backend.MoveMouse(x - MousePosX(), y - MousePosY());
    backend.SetButton(1, true);
    int frames = 0;
    backend.onPresent = [&frames](HeadlessBackend& b) {
      if (++frames == 1) b.SetButton(1, false);
    };
    backend.stopAfterFrames = backend.framesPresented + 5;
    int result = ShowMessageDialog(220, 200, 200, 75, 0, 0, "t", "m", buttons);
    backend.onPresent = nullptr;
    return result;
  };
  EXPECT_EQ(click(250, 260, DialogYes + DialogNo), DialogNo);
  EXPECT_EQ(click(380, 260, DialogYes + DialogNo), DialogYes);
  EXPECT_EQ(click(320, 260, DialogOk), DialogOk);  // a lone button sits in the middle
  EXPECT_EQ(ShowMessageDialog(220, 200, 200, 75, 0, 0, "t", "m", 0), 0);  // nothing to click
}

// The start-up notice: drawn into the back buffer, never presented.
class LoadingNotice : public HeadlessTest {
 protected:
  ScopedWorkDir dir_;
};

TEST_F(LoadingNotice, IsDrawnCentredButNotShown) {
  StartUp();
  EXPECT_EQ(backend.framesPresented, 0);
  ASSERT_TRUE(BeginScreenDrawing());
  const int w = MeasureTextWidth("Loading Graphics");
  EndScreenDrawing();
  const uint32_t* pixels = platform::BackBufferPixels();
  int inside = 0, outside = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      if (pixels[y * 640 + x] != kWhite) continue;
      bool placed = x >= 320 - w / 2 && x < 320 - w / 2 + w && y >= 233 && y < 233 + 20;
      (placed ? inside : outside)++;
    }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);
}

}  // namespace
