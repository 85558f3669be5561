#include "platform/option_text.h"

namespace platform {

bool ReadWholeNumber(const std::string& text, int64_t max, int64_t& out) {
  if (text.empty() || max < 0) return false;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const int digit = c - '0';
    if (value > (max - digit) / 10) return false;
    value = value * 10 + digit;
  }
  out = value;
  return true;
}

std::string Printable(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  auto escape = [&](unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (b < 0x20 || b == 0x7f) {
      escape(b);
    } else if (b == 0xc2 && next >= 0x80 && next <= 0x9f) {  // U+0080..U+009F
      escape(b);
      escape(next);
      ++i;
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

}  // namespace platform
