#include "platform/sdl/sdl_input.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/sdl/sdl_key_table.h"

namespace platform {

namespace {

// What Shift gives on a US keyboard: the guess for a key whose shifted
// character the system has not typed for us yet.
char UsShifted(char c) {
  static const char plain[] = "1234567890-=[]\\;',./`";
  static const char shifted[] = "!@#$%^&*()_+{}|:\"<>?~";
  for (int i = 0; plain[i] != 0; ++i) {
    if (plain[i] == c) return shifted[i];
  }
  return 0;
}

bool Printable(int c) { return c >= 32 && c <= 126; }

// On a page relative motion needs a pointer lock, which the browser grants
// only after a click and gives up on Escape, the game's own key: there the
// game's pointer goes where the player's pointer is.
#ifdef __EMSCRIPTEN__
constexpr bool kRelativeMotion = false;
#else
constexpr bool kRelativeMotion = true;
#endif

// Where the pointer is, in the window's points. On a page the window is the
// canvas, whose place on the page SDL does not know, and SDL sees the
// pointer only over it.
void PointerInWindow(SDL_Window* window, int& x, int& y) {
#ifdef __EMSCRIPTEN__
  (void)window;
  SDL_GetMouseState(&x, &y);
#else
  int gx = 0;
  int gy = 0;
  int wx = 0;
  int wy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  SDL_GetWindowPosition(window, &wx, &wy);
  x = gx - wx;
  y = gy - wy;
#endif
}

}  // namespace

void SdlInput::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION:
      if (mouseCaptured_ && kRelativeMotion) {
        mouseDx_ += e.motion.xrel;
        mouseDy_ += e.motion.yrel;
        if (e.motion.xrel != 0 || e.motion.yrel != 0) relativeSeen_ = true;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int down = e.type == SDL_MOUSEBUTTONDOWN ? 1 : 0;
      if (e.button.button == SDL_BUTTON_LEFT) mouseButtons_[0] = down;
      if (e.button.button == SDL_BUTTON_RIGHT) mouseButtons_[1] = down;
      if (e.button.button == SDL_BUTTON_MIDDLE) mouseButtons_[2] = down;
      break;
    }
    case SDL_MOUSEWHEEL:
      mouseWheel_ += e.wheel.y;
      break;
    case SDL_KEYUP:
      if (e.key.keysym.scancode > SDL_SCANCODE_UNKNOWN && e.key.keysym.scancode < SDL_NUM_SCANCODES)
        hidden_[e.key.keysym.scancode] = false;
      break;
    case SDL_KEYDOWN:
      lastKeyDown_ = e.key.keysym.scancode;
      lastKeyMods_ = e.key.keysym.mod;
      break;
    case SDL_TEXTINPUT: {
      // SDL sends a press's text right after the press itself. Only a lone
      // printable ASCII character is kept: the game's fonts and its score
      // file hold nothing else, and what Ctrl, Alt or AltGr make is not a
      // plain or shifted character of the key.
      SDL_Scancode sc = lastKeyDown_;
      lastKeyDown_ = SDL_SCANCODE_UNKNOWN;
      if (sc <= SDL_SCANCODE_UNKNOWN || sc >= SDL_NUM_SCANCODES) break;
      if (!Printable(static_cast<unsigned char>(e.text.text[0])) || e.text.text[1] != 0) break;
      if ((lastKeyMods_ & (KMOD_CTRL | KMOD_ALT | KMOD_GUI | KMOD_MODE)) != 0) break;
      bool shift = (lastKeyMods_ & KMOD_SHIFT) != 0;
      (shift ? typedShifted_ : typedPlain_)[sc] = e.text.text[0];
      break;
    }
    case SDL_KEYMAPCHANGED:
      // Another layout: what was learned no longer holds.
      std::fill(std::begin(typedPlain_), std::end(typedPlain_), 0);
      std::fill(std::begin(typedShifted_), std::end(typedShifted_), 0);
      break;
    default:
      break;
  }
}

void SdlInput::HideUntilReleased(SDL_Scancode key) {
  if (key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES) hidden_[key] = true;
  keysFresh_ = false;
}

void SdlInput::ReadKeyboard(uint8_t snapshot[256]) {
  if (keysFresh_) {
    std::memcpy(snapshot, lastKeys_, sizeof lastKeys_);
    return;
  }
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  std::fill(snapshot, snapshot + 256, 0);
  const SdlKeyTable& codes = KeyCodesOfScancodes();
  if (count > SDL_NUM_SCANCODES) count = SDL_NUM_SCANCODES;
  for (int sc = 1; sc < count; ++sc) {
    if (hidden_[sc]) {
      if (state[sc]) continue;
      hidden_[sc] = false;
    }
    if (state[sc] && codes[static_cast<size_t>(sc)] != 0) snapshot[codes[static_cast<size_t>(sc)]] = 0x80;
  }
  std::memcpy(lastKeys_, snapshot, sizeof lastKeys_);
  keysFresh_ = true;
}

// Letters follow Shift and Caps Lock on the player's layout. Other keys give
// what the system typed for them with or without Shift, learned from its
// text events, or failing that the layout's unshifted character, shifted as
// a US board would. Only printable ASCII comes out: the game's fonts and its
// score file hold nothing else.
char SdlInput::TranslateKey(int keyCode) const {
  if (keyCode <= 0 || keyCode > 255) return 0;
  SDL_Scancode sc = ScancodesOfKeyCodes()[static_cast<size_t>(keyCode)];
  if (sc == SDL_SCANCODE_UNKNOWN) return 0;
  SDL_Keymod mods = SDL_GetModState();
  bool shift = (mods & KMOD_SHIFT) != 0;
  bool caps = (mods & KMOD_CAPS) != 0;
  SDL_Keycode base = SDL_GetKeyFromScancode(sc);
  if (base >= 'a' && base <= 'z') return static_cast<char>(shift != caps ? base - 'a' + 'A' : base);
  char learned = shift ? typedShifted_[sc] : typedPlain_[sc];
  if (learned != 0) return learned;
  if (!Printable(base)) return 0;
  return shift ? UsShifted(static_cast<char>(base)) : static_cast<char>(base);
}

void SdlInput::StopMouse() {
  ReleaseMouse();
  mouseStarted_ = false;
}

void SdlInput::ReadMouse(SDL_Window* window, const PictureGeometry& g, MouseReading& out) {
  if (!mouseCaptured_) {
    // The game draws its own cursor and wants every movement, also at the
    // desktop's edges: relative mode gives both. Motion from before the
    // capture, and the click that gave the window its focus, belong to the
    // desktop.
    if (kRelativeMotion) SDL_SetRelativeMouseMode(SDL_TRUE);
    mouseCaptured_ = true;
    mouseDx_ = mouseDy_ = mouseWheel_ = 0;
    fracDx_ = fracDy_ = 0;
    pointerKnown_ = false;
    relativeSeen_ = false;
    capturedAt_ = SDL_GetTicks();
    for (int& b : mouseButtons_) b = 0;
  }
  // Motion comes in the window's points; the picture is enlarged by
  // the picture's height in pixels over its own, and a point is pixelH / pointH pixels:
  // dividing by both keeps the game's cursor under the player's hand. What
  // is left over is carried to the next read so slow movements are not lost.
  const int64_t num = static_cast<int64_t>(std::max(g.pixelH, 1)) * g.sourceH;
  const int64_t den = static_cast<int64_t>(std::max(g.pointH, 1)) * std::max(g.height, 1);
  const int64_t x = fracDx_ + static_cast<int64_t>(mouseDx_) * num;
  const int64_t y = fracDy_ + static_cast<int64_t>(mouseDy_) * num;
  out.dx = static_cast<int>(x / den);
  out.dy = static_cast<int>(y / den);
  fracDx_ = x - out.dx * den;
  fracDy_ = y - out.dy * den;
  // A pointer that moved without any relative motion from SDL only reports
  // where it is: the game's cursor goes to the same place in the picture.
  // Some systems park the pointer when relative mode starts (Windows clips
  // it to the window's centre); that first moment only sets where it is.
  int px = 0;
  int py = 0;
  PointerInWindow(window, px, py);
  const bool settled = SDL_GetTicks() - capturedAt_ >= 200;
  if (pointerKnown_ && settled && !relativeSeen_ && (px != pointerX_ || py != pointerY_) && g.width > 0 && g.height > 0) {
    const int64_t pixX = static_cast<int64_t>(px) * g.pixelW / std::max(g.pointW, 1);
    const int64_t pixY = static_cast<int64_t>(py) * g.pixelH / std::max(g.pointH, 1);
    out.hasPosition = true;
    out.x = static_cast<int>((pixX - g.left) * g.sourceW / g.width);
    out.y = static_cast<int>((pixY - g.top) * g.sourceH / g.height);
    out.dx = out.dy = 0;
  }
  pointerKnown_ = true;
  pointerX_ = px;
  pointerY_ = py;
  out.wheel = mouseWheel_;
  for (int b = 0; b < 3; ++b) out.buttons[b] = mouseButtons_[b];
  mouseDx_ = mouseDy_ = mouseWheel_ = 0;
}

void SdlInput::ReleaseMouse() {
  if (mouseCaptured_ && kRelativeMotion) SDL_SetRelativeMouseMode(SDL_FALSE);
  mouseCaptured_ = false;
  mouseDx_ = mouseDy_ = mouseWheel_ = 0;
  fracDx_ = fracDy_ = 0;
  pointerKnown_ = false;
  relativeSeen_ = false;
  // A button let go while the desktop had the mouse is never reported.
  for (int& b : mouseButtons_) b = 0;
}

}  // namespace platform
