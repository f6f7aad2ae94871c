#include "store/GbkLike.h"

#include <cstddef>

#include "store/GbkChars.h"

namespace store {
namespace {

using gbk::CharLen;

// Compares the character of length pn at p[pi] with the one of length tn at t[ti].
inline bool SameChar(std::string_view p, std::size_t pi, std::size_t pn, std::string_view t,
                     std::size_t ti, std::size_t tn) {
  if (pn != tn) return false;
  if (pn == 2) return p[pi] == t[ti] && p[pi + 1] == t[ti + 1];
  return gbk::UpperAscii(static_cast<unsigned char>(p[pi])) ==
         gbk::UpperAscii(static_cast<unsigned char>(t[ti]));
}

// False when the text cannot match: the pattern's first literal character has to match a
// character of the text, so its bytes (for a letter, in one case or the other) occur in the
// text. Most headwords of a fuzzy search fail here, without stepping through characters.
bool MayMatch(std::string_view p, std::string_view t) {
  std::size_t pi = 0;
  while (pi < p.size() && (p[pi] == '%' || p[pi] == '_')) ++pi;
  if (pi == p.size()) return true;
  if (CharLen(p, pi) == 2) return t.find(p.substr(pi, 2)) != std::string_view::npos;
  const auto c = static_cast<unsigned char>(p[pi]);
  if (!gbk::IsAsciiLetter(c)) return t.find(p[pi]) != std::string_view::npos;
  const char lower = static_cast<char>(c | 0x20);
  const char upper = static_cast<char>(c & ~0x20);
  for (const char b : t) {
    if (b == lower || b == upper) return true;
  }
  return false;
}

}  // namespace

// Greedy matching that falls back only to the last '%': O(pattern x text) at worst, so
// a hostile pattern cannot blow up the way naive recursion does.
bool GbkLike(std::string_view p, std::string_view t) {
  if (!MayMatch(p, t)) return false;
  std::size_t pi = 0, ti = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (ti < t.size()) {
    if (pi < p.size()) {
      const char pc = p[pi];
      if (pc == '%') {
        starP = ++pi;
        starT = ti;
        continue;
      }
      const std::size_t tn = CharLen(t, ti);
      if (pc == '_') {
        ++pi;
        ti += tn;
        continue;
      }
      const std::size_t pn = CharLen(p, pi);
      if (SameChar(p, pi, pn, t, ti, tn)) {
        pi += pn;
        ti += tn;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    // Let the last '%' swallow one more character and retry from there.
    starT += CharLen(t, starT);
    ti = starT;
    pi = starP;
  }
  while (pi < p.size() && p[pi] == '%') ++pi;
  return pi == p.size();
}

}  // namespace store
