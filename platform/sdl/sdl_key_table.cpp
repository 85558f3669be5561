#include "platform/sdl/sdl_key_table.h"

namespace platform {

namespace {

SdlKeyTable BuildKeyTable() {
  SdlKeyTable t{};
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

}  // namespace

const SdlKeyTable& KeyCodesOfScancodes() {
  static const SdlKeyTable table = BuildKeyTable();
  return table;
}

const std::array<SDL_Scancode, 256>& ScancodesOfKeyCodes() {
  static const std::array<SDL_Scancode, 256> table = [] {
    std::array<SDL_Scancode, 256> t{};
    t.fill(SDL_SCANCODE_UNKNOWN);
    const SdlKeyTable& codes = KeyCodesOfScancodes();
    for (int sc = SDL_NUM_SCANCODES - 1; sc > 0; --sc) {
      if (codes[static_cast<size_t>(sc)] != 0) t[codes[static_cast<size_t>(sc)]] = static_cast<SDL_Scancode>(sc);
    }
    return t;
  }();
  return table;
}

}  // namespace platform
