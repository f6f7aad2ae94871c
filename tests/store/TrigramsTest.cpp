#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "store/StoreTable.h"
#include "store/Trigrams.h"

namespace {

TEST(TrigramsTest, CutsWholeCharactersWithLettersFolded) {
  const struct {
    const char* text;
    std::vector<std::string> grams;
  } cases[] = {
      {"", {}},
      {"ab", {}},
      // Each once, sorted; the case of letters folded, other bytes as they are.
      {"Apple", {"APP", "PLE", "PPL"}},
      {"aaaa", {"AAA"}},
      {"a-b_", {"-B_", "A-B"}},
      // A double-byte character is one character; its ASCII-looking trail byte stays as is.
      {"\xD6\xD0\xB9\xFA\xC8\xCB", {"\xD6\xD0\xB9\xFA\xC8\xCB"}},
      {"\x81"
       "a"
       "bc",
       {"\x81"
        "aBC"}},
      // A lead byte without a valid trail byte stands alone.
      {"\x81"
       "\x20"
       "ab",
       {" AB", "\x81 A"}},
  };
  for (const auto& c : cases) EXPECT_EQ(store::Trigrams(c.text), c.grams) << c.text;
}

TEST(TrigramsTest, IdListsComeBackAsWritten) {
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  const std::vector<std::vector<std::int64_t>> lists = {
      {}, {0}, {1, 2, 3, 127, 128, 16511, 16512, 99999999}, {-10000000, -1, 0, 7}, {kMin, kMax}};
  for (const auto& ids : lists) EXPECT_EQ(store::DecodeIds(store::EncodeIds(ids)), ids);
  // One byte per small step.
  EXPECT_EQ(store::EncodeIds({1, 2, 3}), std::string("\x01\x01\x01"));
  EXPECT_EQ(store::EncodeIds({128}), std::string("\x80\x01"));
}

TEST(TrigramsTest, RejectsAListThatEndsInsideANumber) {
  for (const std::string& bytes :
       {std::string("\x80"), std::string("\x01\xFF\xFF"), std::string(11, '\xFF') + '\x01'}) {
    EXPECT_THROW(store::DecodeIds(bytes), ESQLiteException);
  }
}

}  // namespace
