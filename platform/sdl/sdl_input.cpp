// Keyboard and mouse over SDL. Keys are reported in the PC keyboard's set-1
// scan codes, extended (E0-prefixed) keys as 0x80 plus their code, which is
// the numbering the game's KeyCodes use; the mouse is read as relative
// motion with SDL's relative mode, which also hides the system cursor.
#include <algorithm>
#include <array>
#include <iterator>

#include "platform/sdl/sdl_backend.h"

namespace platform {

namespace {

using KeyTable = std::array<uint8_t, SDL_NUM_SCANCODES>;

KeyTable BuildKeyTable() {
  KeyTable t{};
  auto set = [&t](SDL_Scancode sc, int code) { t[static_cast<size_t>(sc)] = static_cast<uint8_t>(code); };
  // Main block, row by row.
  set(SDL_SCANCODE_ESCAPE, 1);
  const SDL_Scancode digits[10] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4, SDL_SCANCODE_5,
                                   SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9, SDL_SCANCODE_0};
  for (int i = 0; i < 10; ++i) set(digits[i], 2 + i);
  set(SDL_SCANCODE_MINUS, 12);
  set(SDL_SCANCODE_EQUALS, 13);
  set(SDL_SCANCODE_BACKSPACE, 14);
  set(SDL_SCANCODE_TAB, 15);
  const SDL_Scancode top[10] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R, SDL_SCANCODE_T,
                                SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I, SDL_SCANCODE_O, SDL_SCANCODE_P};
  for (int i = 0; i < 10; ++i) set(top[i], 16 + i);
  set(SDL_SCANCODE_LEFTBRACKET, 26);
  set(SDL_SCANCODE_RIGHTBRACKET, 27);
  set(SDL_SCANCODE_RETURN, 28);
  set(SDL_SCANCODE_LCTRL, 29);
  const SDL_Scancode home[9] = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F, SDL_SCANCODE_G,
                                SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L};
  for (int i = 0; i < 9; ++i) set(home[i], 30 + i);
  set(SDL_SCANCODE_SEMICOLON, 39);
  set(SDL_SCANCODE_APOSTROPHE, 40);
  set(SDL_SCANCODE_GRAVE, 41);
  set(SDL_SCANCODE_LSHIFT, 42);
  set(SDL_SCANCODE_BACKSLASH, 43);
  set(SDL_SCANCODE_NONUSHASH, 43);  // the same key position on ISO boards
  const SDL_Scancode bottom[7] = {SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_V,
                                  SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M};
  for (int i = 0; i < 7; ++i) set(bottom[i], 44 + i);
  set(SDL_SCANCODE_COMMA, 51);
  set(SDL_SCANCODE_PERIOD, 52);
  set(SDL_SCANCODE_SLASH, 53);
  set(SDL_SCANCODE_RSHIFT, 54);
  set(SDL_SCANCODE_KP_MULTIPLY, 55);
  set(SDL_SCANCODE_LALT, 56);
  set(SDL_SCANCODE_SPACE, 57);
  set(SDL_SCANCODE_CAPSLOCK, 58);
  for (int i = 0; i < 10; ++i) set(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i), 59 + i);
  set(SDL_SCANCODE_NUMLOCKCLEAR, 69);
  set(SDL_SCANCODE_SCROLLLOCK, 70);
  // Numeric keypad.
  set(SDL_SCANCODE_KP_7, 71);
  set(SDL_SCANCODE_KP_8, 72);
  set(SDL_SCANCODE_KP_9, 73);
  set(SDL_SCANCODE_KP_MINUS, 74);
  set(SDL_SCANCODE_KP_4, 75);
  set(SDL_SCANCODE_KP_5, 76);
  set(SDL_SCANCODE_KP_6, 77);
  set(SDL_SCANCODE_KP_PLUS, 78);
  set(SDL_SCANCODE_KP_1, 79);
  set(SDL_SCANCODE_KP_2, 80);
  set(SDL_SCANCODE_KP_3, 81);
  set(SDL_SCANCODE_KP_0, 82);
  set(SDL_SCANCODE_KP_PERIOD, 83);
  set(SDL_SCANCODE_NONUSBACKSLASH, 86);
  set(SDL_SCANCODE_F11, 87);
  set(SDL_SCANCODE_F12, 88);
  set(SDL_SCANCODE_KP_EQUALS, 89);
  for (int i = 0; i < 11; ++i) set(static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + i), 100 + i);  // F13..F23
  set(SDL_SCANCODE_F24, 118);
  // Japanese and Brazilian keys.
  set(SDL_SCANCODE_INTERNATIONAL2, 112);  // kana
  set(SDL_SCANCODE_INTERNATIONAL1, 115);  // ro
  set(SDL_SCANCODE_INTERNATIONAL4, 121);  // convert
  set(SDL_SCANCODE_INTERNATIONAL5, 123);  // no convert
  set(SDL_SCANCODE_INTERNATIONAL3, 125);  // yen
  set(SDL_SCANCODE_KP_COMMA, 126);
  // Extended keys: 0x80 + their code.
  set(SDL_SCANCODE_AUDIOPREV, 144);
  set(SDL_SCANCODE_AUDIONEXT, 153);
  set(SDL_SCANCODE_KP_ENTER, 156);
  set(SDL_SCANCODE_RCTRL, 157);
  set(SDL_SCANCODE_MUTE, 160);
  set(SDL_SCANCODE_AUDIOMUTE, 160);
  set(SDL_SCANCODE_CALCULATOR, 161);
  set(SDL_SCANCODE_AUDIOPLAY, 162);
  set(SDL_SCANCODE_AUDIOSTOP, 164);
  set(SDL_SCANCODE_VOLUMEDOWN, 174);
  set(SDL_SCANCODE_VOLUMEUP, 176);
  set(SDL_SCANCODE_AC_HOME, 178);
  set(SDL_SCANCODE_KP_DIVIDE, 181);
  set(SDL_SCANCODE_PRINTSCREEN, 183);
  set(SDL_SCANCODE_RALT, 184);
  set(SDL_SCANCODE_PAUSE, 197);
  set(SDL_SCANCODE_HOME, 199);
  set(SDL_SCANCODE_UP, 200);
  set(SDL_SCANCODE_PAGEUP, 201);
  set(SDL_SCANCODE_LEFT, 203);
  set(SDL_SCANCODE_RIGHT, 205);
  set(SDL_SCANCODE_END, 207);
  set(SDL_SCANCODE_DOWN, 208);
  set(SDL_SCANCODE_PAGEDOWN, 209);
  set(SDL_SCANCODE_INSERT, 210);
  set(SDL_SCANCODE_DELETE, 211);
  set(SDL_SCANCODE_LGUI, 219);
  set(SDL_SCANCODE_RGUI, 220);
  set(SDL_SCANCODE_APPLICATION, 221);
  set(SDL_SCANCODE_POWER, 222);
  set(SDL_SCANCODE_SLEEP, 223);
  set(SDL_SCANCODE_AC_SEARCH, 229);
  set(SDL_SCANCODE_AC_BOOKMARKS, 230);
  set(SDL_SCANCODE_AC_REFRESH, 231);
  set(SDL_SCANCODE_AC_STOP, 232);
  set(SDL_SCANCODE_AC_FORWARD, 233);
  set(SDL_SCANCODE_AC_BACK, 234);
  set(SDL_SCANCODE_COMPUTER, 235);
  set(SDL_SCANCODE_MAIL, 236);
  set(SDL_SCANCODE_MEDIASELECT, 237);
  return t;
}

const KeyTable& KeyCodes() {
  static const KeyTable table = BuildKeyTable();
  return table;
}

// The other way round, for translating a KeyCode; where two SDL keys share
// a code the first one listed wins.
const std::array<SDL_Scancode, 256>& Scancodes() {
  static const std::array<SDL_Scancode, 256> table = [] {
    std::array<SDL_Scancode, 256> t{};
    t.fill(SDL_SCANCODE_UNKNOWN);
    const KeyTable& codes = KeyCodes();
    for (int sc = SDL_NUM_SCANCODES - 1; sc > 0; --sc) {
      if (codes[static_cast<size_t>(sc)] != 0) t[codes[static_cast<size_t>(sc)]] = static_cast<SDL_Scancode>(sc);
    }
    return t;
  }();
  return table;
}

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

}  // namespace

void SdlBackend::PumpInputEvents() {
  // Pumping costs microseconds and some screens take dozens of snapshots a
  // frame; within a millisecond nothing new can be worth it.
  uint64_t now = static_cast<uint64_t>(NowMicros());
  if (lastPumpMicros_ == 0 || now - lastPumpMicros_ >= 1000) HandleEvents();
}

void SdlBackend::HandleInputEvent(const SDL_Event& e) {
  switch (e.type) {
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

bool SdlBackend::StartKeyboard() {
  keyboardStarted_ = true;
  return true;
}

void SdlBackend::StopKeyboard() { keyboardStarted_ = false; }

bool SdlBackend::ReadKeyboard(uint8_t snapshot[256]) {
  PumpInputEvents();
  if (window_ == nullptr || !active_) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  std::fill(snapshot, snapshot + 256, 0);
  const KeyTable& codes = KeyCodes();
  if (count > SDL_NUM_SCANCODES) count = SDL_NUM_SCANCODES;
  for (int sc = 1; sc < count; ++sc) {
    if (state[sc] && codes[static_cast<size_t>(sc)] != 0) snapshot[codes[static_cast<size_t>(sc)]] = 0x80;
  }
  return true;
}

// Letters follow Shift and Caps Lock on the player's layout. Other keys give
// what the system typed for them with or without Shift, learned from its
// text events, or failing that the layout's unshifted character, shifted as
// a US board would. Only printable ASCII comes out: the game's fonts and its
// score file hold nothing else.
char SdlBackend::TranslateKey(int keyCode) {
  if (keyCode <= 0 || keyCode > 255) return 0;
  SDL_Scancode sc = Scancodes()[static_cast<size_t>(keyCode)];
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

bool SdlBackend::StartMouse() {
  mouseStarted_ = true;
  return true;
}

void SdlBackend::StopMouse() {
  ReleaseMouse();
  mouseStarted_ = false;
}

bool SdlBackend::ReadMouse(MouseReading& out) {
  PumpInputEvents();
  if (window_ == nullptr || !active_) return false;
  if (!mouseCaptured_) {
    // The game draws its own cursor and wants every movement, also at the
    // desktop's edges: relative mode gives both. Motion from before the
    // capture, and the click that gave the window its focus, belong to the
    // desktop.
    SDL_SetRelativeMouseMode(SDL_TRUE);
    mouseCaptured_ = true;
    mouseDx_ = mouseDy_ = mouseWheel_ = 0;
    fracDx_ = fracDy_ = 0;
    for (int& b : mouseButtons_) b = 0;
  }
  // The 640x480 screen is shown enlarged by a whole factor; dividing by it
  // keeps the game's cursor under the player's hand. What is left over is
  // carried to the next read so slow movements are not lost.
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  int factor = std::max(1, std::min(w / 640, h / 480));
  int x = fracDx_ + mouseDx_;
  int y = fracDy_ + mouseDy_;
  out.dx = x / factor;
  out.dy = y / factor;
  fracDx_ = x - out.dx * factor;
  fracDy_ = y - out.dy * factor;
  out.wheel = mouseWheel_;
  for (int b = 0; b < 3; ++b) out.buttons[b] = mouseButtons_[b];
  mouseDx_ = mouseDy_ = mouseWheel_ = 0;
  return true;
}

void SdlBackend::ReleaseMouse() {
  if (mouseCaptured_) SDL_SetRelativeMouseMode(SDL_FALSE);
  mouseCaptured_ = false;
  mouseDx_ = mouseDy_ = mouseWheel_ = 0;
  fracDx_ = fracDy_ = 0;
  // A button let go while the desktop had the mouse is never reported.
  for (int& b : mouseButtons_) b = 0;
}

}  // namespace platform
