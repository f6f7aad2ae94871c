#pragma once

// A synthetic dictionary the size of the real one: 267k headwords and entry texts in the
// shape and length spread of the real entries. Fixed seed, so every run gets the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "store/StoreWriter.h"

namespace bench {

constexpr int kHeadwords = 267000;

// A linear congruential generator; good enough for test data and the same everywhere.
class Lcg {
 public:
  explicit Lcg(std::uint64_t seed) : seed_(seed) {}
  std::uint32_t operator()(std::uint32_t n) {
    seed_ = seed_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>((seed_ >> 33) % n);
  }

 private:
  std::uint64_t seed_;
};

// English-like words, one in ten of them Chinese (GB2312 range), a few phrases.
inline std::vector<IndexRow> SyntheticHeadwords() {
  std::vector<IndexRow> rows;
  rows.reserve(kHeadwords);
  Lcg next(0x9E3779B97F4A7C15u);
  for (int i = 1; i <= kHeadwords; ++i) {
    std::string title;
    if (i % 10 == 0) {
      // Every 50th Chinese headword starts with 中 so that prefix has realistic hits.
      if (i % 500 == 0) title = "\xD6\xD0";
      for (std::uint32_t n = 1 + next(4); n > 0; --n) {
        title += static_cast<char>(0xB0 + next(0xD7 - 0xB0));
        title += static_cast<char>(0xA1 + next(0xFE - 0xA1));
      }
    } else {
      for (std::uint32_t n = 3 + next(10); n > 0; --n) title += static_cast<char>('a' + next(26));
      if (next(8) == 0) {
        title += ' ';
        title += static_cast<char>('a' + next(26));
        title += "ing";
      }
    }
    if (i == 4242) title = "apple";
    rows.push_back({i, std::move(title)});
  }
  return rows;
}

namespace detail {

inline std::string Word(Lcg& next) {
  std::string w;
  for (std::uint32_t n = 2 + next(8); n > 0; --n) w += static_cast<char>('a' + next(26));
  return w;
}
inline std::string Words(Lcg& next, std::uint32_t count) {
  std::string s = Word(next);
  for (std::uint32_t i = 1; i < count; ++i) s += ' ' + Word(next);
  return s;
}
inline std::string Hanzi(Lcg& next, std::uint32_t count) {
  std::string s;
  for (std::uint32_t i = 0; i < count; ++i) {
    s += static_cast<char>(0xB0 + next(0xD7 - 0xB0));
    s += static_cast<char>(0xA1 + next(0xFE - 0xA1));
  }
  return s;
}
// Most entries hold one or two senses; one in fifty is a long entry of a common word.
inline std::uint32_t Senses(Lcg& next) {
  if (next(50) == 0) return 8 + next(30);
  return 1 + next(2) + (next(3) == 0 ? next(3) : 0);
}

inline std::string EnglishEntry(Lcg& next) {
  std::string a = "<div C=\"phon\"><S C=\"lbl\">\xC3\xC0</S> <S C=\"ipa\">[&#712;" + Word(next) +
                  "&#601;" + Word(next) + "]</S></div><div C=\"sect\">\xCA\xCD\xD2\xE5</div>";
  const std::uint32_t senses = Senses(next);
  for (std::uint32_t s = 1; s <= senses; ++s) {
    if (s == 1 || next(4) == 0) {
      a += "<div C=\"posh\"><S C=\"pos\">n.</S> \xC3\xFB\xB4\xCA</div>";
    }
    a +=
        "<div C=\"sense\"><S C=\"num\">" + std::to_string(s) + ".</S> " + Words(next, 4 + next(12));
    if (next(2) == 0) a += " <S C=\"zh\">" + Hanzi(next, 2) + "\xA3\xBB" + Hanzi(next, 3) + "</S>";
    a += "</div>";
    if (next(3) == 0) a += "<div C=\"ex\">" + Words(next, 5 + next(8)) + "</div>";
  }
  if (next(2) == 0) {
    a += "<div C=\"sect\">\xCD\xAC\xD2\xE5\xB4\xCA</div><div C=\"syn\"><S C=\"pos\">n.</S> " +
         Words(next, 1 + next(4)) + "</div>";
  }
  if (senses > 6) {
    a += "<div C=\"sect\">\xB4\xCA\xD7\xE9</div>";
    for (std::uint32_t p = senses; p > 0; --p) {
      a += "<div C=\"phr\"><S C=\"pw\">" + Words(next, 2) + "</S> <S C=\"pd\">" +
           Words(next, 6 + next(8)) + "</S></div>";
    }
  }
  if (next(2) == 0) {
    a += "<div C=\"sect\">\xB4\xCA\xD0\xCE\xB1\xE4\xBB\xAF</div><div C=\"forms\"><S "
         "C=\"fl\">\xB8\xB4\xCA\xFD</S> " +
         Word(next) + "s</div>";
  }
  return a;
}

inline std::string ChineseEntry(Lcg& next) {
  std::string a = "<div C=\"phon\"><S C=\"py\">[" + Words(next, 1 + next(3)) + "]</S>";
  if (next(2) == 0)
    a += " <S C=\"fl\">\xB7\xB1\xCC\xE5</S> <S C=\"trad\">" + Hanzi(next, 2) + "</S>";
  a += "</div>";
  for (std::uint32_t s = 1, n = 1 + next(3); s <= n; ++s) {
    a += "<div C=\"sense\"><S C=\"num\">" + std::to_string(s) + ".</S> " +
         Words(next, 2 + next(10)) + "</div>";
  }
  return a;
}

}  // namespace detail

// One entry per headword, English or Chinese by the headword's first byte.
inline std::vector<EntryRow> SyntheticEntries(const std::vector<IndexRow>& headwords) {
  std::vector<EntryRow> rows;
  rows.reserve(headwords.size());
  Lcg next(0xD1B54A32D192ED03u);
  for (const auto& h : headwords) {
    const bool chinese = !h.title.empty() && static_cast<unsigned char>(h.title[0]) >= 0x81;
    rows.push_back({h.id, chinese ? detail::ChineseEntry(next) : detail::EnglishEntry(next)});
  }
  return rows;
}

}  // namespace bench
