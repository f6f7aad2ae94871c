#pragma once

// A synthetic dictionary of any size (267k headwords by default, the size of the first real
// one): headwords and entry texts in the shape and length spread of the real entries, numbered
// in reading order like the real ones. Fixed seed, so every run gets the same bytes.

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
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

// Sorts headwords into the order a reader expects and numbers them in it, as the dictionary
// builder does: case-insensitive, a word before its completions, the lowercase form first.
inline void NumberInReadingOrder(std::vector<IndexRow>& rows) {
  auto folded = [](const std::string& s) {
    std::string f = s;
    for (char& c : f) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return f;
  };
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(rows.size());
  for (auto& r : rows) keyed.emplace_back(folded(r.title), std::move(r.title));
  // For equal letters the lowercase form first: lowercase bytes sort above uppercase ones.
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return a.second > b.second;
  });
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i] = {static_cast<std::int64_t>(i) + 1, std::move(keyed[i].second)};
  }
}

// English-like words (first letters spread as in an English dictionary, one in twenty
// capitalised, one in eight a phrase), one in ten headwords Chinese (GB2312 range), and the
// words the benchmarks type. count headwords in all, numbered in reading order.
inline std::vector<IndexRow> SyntheticHeadwords(int count = kHeadwords) {
  // Share of headwords per first letter a..z, in thousandths.
  static constexpr std::uint32_t kFirst[26] = {60, 58, 95, 60, 40, 40,  34, 38, 38, 9,  12, 33, 55,
                                               23, 27, 80, 5,  55, 110, 50, 25, 15, 24, 1,  4,  3};
  std::uint32_t total = 0;
  for (const auto f : kFirst) total += f;
  const char* const kTyped[] = {"a",
                                "ap",
                                "apple",
                                "apples",
                                "apply",
                                "b",
                                "ba",
                                "bank",
                                "banker",
                                "banks",
                                "q",
                                "qu",
                                "quick",
                                "quickly",
                                "t",
                                "th",
                                "the",
                                "then",
                                "there",
                                "w",
                                "we",
                                "went",
                                "Apple",
                                "Bank",
                                "The",
                                "\xD6\xD0",
                                "\xD6\xD0\xB9\xFA",
                                "\xD6\xD0\xB9\xFA\xC8\xCB",
                                "\xD2\xF8",
                                "\xD2\xF8\xD0\xD0",
                                "\xD1\xA7",
                                "\xD1\xA7\xC9\xFA"};
  std::vector<IndexRow> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (const char* t : kTyped) rows.push_back({0, t});
  Lcg next(0x9E3779B97F4A7C15u);
  for (int i = static_cast<int>(rows.size()) + 1; i <= count; ++i) {
    std::string title;
    if (i % 10 == 0) {
      // Common first characters (中, 学, 银) get realistic numbers of completions.
      if (i % 500 == 0) title = "\xD6\xD0";
      if (i % 700 == 0) title = "\xD1\xA7";
      if (i % 900 == 0) title = "\xD2\xF8";
      for (std::uint32_t n = 1 + next(4); n > 0; --n) {
        title += static_cast<char>(0xB0 + next(0xD7 - 0xB0));
        title += static_cast<char>(0xA1 + next(0xFE - 0xA1));
      }
    } else {
      std::uint32_t pick = next(total);
      int first = 0;
      while (pick >= kFirst[first]) pick -= kFirst[first++];
      title += static_cast<char>((next(20) == 0 ? 'A' : 'a') + first);
      for (std::uint32_t n = 2 + next(10); n > 0; --n) title += static_cast<char>('a' + next(26));
      if (next(8) == 0) {
        title += ' ';
        title += static_cast<char>('a' + next(26));
        title += "ing";
      }
    }
    rows.push_back({0, std::move(title)});
  }
  NumberInReadingOrder(rows);
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
