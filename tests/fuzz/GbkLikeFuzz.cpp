// The store's GBK like() against a plain matcher written from the rules alone: '%' any run of
// characters, '_' one character, A-Z and a-z alike, everything else byte for byte, and a
// double-byte character (lead 0x81-0xFE, second byte 0x40-0xFE) always whole.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "store/GbkLike.h"
#include "tests/fuzz/Characters.h"

namespace {

struct Piece {
  enum Kind { Any, One, Char } kind;
  std::string_view bytes;
};

std::vector<Piece> Pieces(std::string_view pattern) {
  std::vector<Piece> out;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '%' || pattern[i] == '_') {
      out.push_back({pattern[i] == '%' ? Piece::Any : Piece::One, pattern.substr(i, 1)});
      ++i;
      continue;
    }
    const std::size_t n = fuzzref::Width(pattern, i);
    out.push_back({Piece::Char, pattern.substr(i, n)});
    i += n;
  }
  return out;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 2) return a == b;
  return Upper(a[0]) == Upper(b[0]);
}

// matched[j]: the pieces so far match the first j characters.
bool Reference(std::string_view pattern, std::string_view text) {
  const auto chars = fuzzref::Characters(text);
  std::vector<char> matched(chars.size() + 1, 0);
  matched[0] = 1;
  for (const Piece& piece : Pieces(pattern)) {
    std::vector<char> next(chars.size() + 1, 0);
    for (std::size_t j = 0; j <= chars.size(); ++j) {
      if (piece.kind == Piece::Any) {
        next[j] = static_cast<char>(matched[j] || (j > 0 && next[j - 1]));
      } else if (j > 0 && matched[j - 1]) {
        next[j] = static_cast<char>(piece.kind == Piece::One || Same(piece.bytes, chars[j - 1]));
      }
    }
    matched.swap(next);
  }
  return matched[chars.size()] != 0;
}

}  // namespace

// The input is the pattern, a NUL byte, then the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [pattern, text] = fuzzref::TwoTexts(data, size);
  const bool got = store::GbkLike(pattern, text);
  if (got != Reference(pattern, text)) {
    std::fprintf(stderr, "GbkLike says %s for pattern of %zu and text of %zu bytes\n",
                 got ? "match" : "no match", pattern.size(), text.size());
    std::abort();
  }
  return 0;
}
