#pragma once

// Character boundaries in GBK text. Every byte-wise scan of GBK text (matching, expansion,
// case folding, separator search, cutting) steps through characters with these, so they all
// agree on what one character is.

#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Byte length of the character at s[i]: 2 for a lead byte 0x81-0xFE followed by a second
// byte 0x40-0xFE, else 1. A lead byte without a valid second byte stands alone.
inline std::size_t CharLen(std::string_view s, std::size_t i) {
  if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    if (trail >= 0x40 && trail <= 0xFE) return 2;
  }
  return 1;
}

// Only the ASCII letters fold: like matches them in either case, and the indexes that stand in
// for like fold exactly these.
inline bool IsAsciiLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline unsigned char UpperAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// The text with its characters in reverse order, each character's bytes kept in order; the
// key of the word-end index.
inline std::string ReverseChars(std::string_view s) {
  std::string out(s.size(), '\0');
  std::size_t end = s.size();
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = CharLen(s, i);
    end -= n;
    s.copy(out.data() + end, n, i);
    i += n;
  }
  return out;
}

}  // namespace gbk
