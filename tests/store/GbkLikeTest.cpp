#include <gtest/gtest.h>

#include <set>
#include <string>

#include "store/GbkChars.h"
#include "store/GbkLike.h"
#include "store/StoreTable.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/Gbk.h"

namespace {

using store::GbkLike;
using ui::Gbk;

TEST(GbkLikeTest, MatchesWholeCharactersInAllFourShapes) {
  const struct {
    const char* pattern;  // UTF-8, stored as GBK
    const char* text;
    bool match;
  } cases[] = {
      // prefix
      {"中%", "中国", true},
      {"中%", "中华", true},
      {"中%", "中国人", true},
      {"中%", "国中", false},
      {"ap%", "apple", true},
      {"AP%", "apple", true},
      {"ap%", "Apple pie", true},
      {"ap%", "an apple", false},
      {"苹果%", "苹果apple", true},
      // suffix
      {"%国", "中国", true},
      {"%国", "中国人", false},
      {"%PLE", "apple", true},
      {"%apple", "苹果apple", true},
      // infix
      {"%国%", "中国", true},
      {"%国%", "中国人", true},
      {"%国%", "中华", false},
      {"%pp%", "APPLE", true},
      {"%果a%", "苹果apple", true},
      // no wildcard: the whole text, English case ignored
      {"apple", "APPLE", true},
      {"apple", "apples", false},
      {"中国", "中国", true},
      {"中国", "中国人", false},
      {"", "", true},
      {"", "a", false},
      {"%", "", true},
      // '_' is one character, one or two bytes
      {"_国", "中国", true},
      {"__", "中国", true},
      {"___", "中国", false},
      {"_", "a", true},
      {"a_c", "abc", true},
      {"a_c", "a中c", true},
      {"%_", "", false},
      // letters only fold A-Z/a-z; everything else is byte-exact
      {"@", "`", false},
      {"[", "{", false},
      {"%a%b%c%", "xaxxbxxxc", true},
      {"%a%b%c%", "xaxxcxxxb", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbkLike(Gbk(c.pattern), Gbk(c.text)), c.match)
        << "'" << c.pattern << "' on '" << c.text << "'";
  }
}

TEST(GbkLikeTest, NeverMatchesAcrossACharacterBoundary) {
  // 中国 is D6D0 B9FA; D0B9 alone is 泄, which sits across the two characters.
  ASSERT_EQ(Gbk("泄"), "\xD0\xB9");
  EXPECT_FALSE(GbkLike(Gbk("%泄%"), Gbk("中国")));
  EXPECT_FALSE(GbkLike("\xD0%", Gbk("中国")));  // ends inside the first character
  EXPECT_FALSE(GbkLike("%\xB9", Gbk("中国")));  // starts inside the last one
  // 沖 is 9B 5F: its trail byte is not the '_' wildcard, so it does not match 汙 (9B 40).
  ASSERT_EQ(Gbk("沖"), "\x9B_");
  EXPECT_TRUE(GbkLike(Gbk("沖"), Gbk("沖")));
  EXPECT_FALSE(GbkLike(Gbk("沖"), Gbk("汙")));
  EXPECT_FALSE(GbkLike(Gbk("%沖%"), Gbk("汙汚")));
  // Trail bytes in a-z are not letters: 亃 (81 7A) differs from 乑 (81 5A).
  EXPECT_FALSE(GbkLike(Gbk("亃"), Gbk("乑")));
  // A lead byte with no valid trail is a character of its own.
  EXPECT_TRUE(GbkLike("_0",
                      "\x81"
                      "0"));
  EXPECT_TRUE(GbkLike("a_", "a\x81"));
}

TEST(GbkLikeTest, ManyWildcardsStayCheap) {
  // Naive backtracking would take exponential time on this; the matcher is linear per '%'.
  const std::string text(20000, 'a');
  EXPECT_FALSE(GbkLike(std::string(200, '%') + "b", text));
  EXPECT_TRUE(GbkLike("%a%a%a%a%a%a%a%a%a%a%a%a%a%a%a%a", text));
}

TEST(GbkLikeTest, LikeInStatementsMatchesGbkTitles) {
  testsupport::TempWorkDir dir;
  testsupport::WriteFixtureStores({{1, "中国", std::nullopt},
                                   {2, "中华", std::nullopt},
                                   {3, "中间", std::nullopt},
                                   {4, "中国人", std::nullopt},
                                   {5, "国中", std::nullopt},
                                   {6, "apple", std::nullopt},
                                   {7, "Apple pie", std::nullopt},
                                   {8, "苹果apple", std::nullopt},
                                   {9, "沖", std::nullopt},
                                   {10, "汙", std::nullopt}});
  const struct {
    const char* where;  // UTF-8
    std::set<std::string> ids;
  } cases[] = {
      {"title like '中%'", {"1", "2", "3", "4"}},
      {"title like '%国'", {"1"}},
      {"title like '%国%'", {"1", "4", "5"}},
      {"title like '中国'", {"1"}},
      {"title like 'APP%'", {"6", "7"}},
      {"title like '%APPLE'", {"6", "8"}},
      {"title like '_国'", {"1"}},
      {"title like '苹果_pple'", {"8"}},
      {"title like '%泄%'", {}},
      {"title like '沖'", {"9"}},
      {"title like NULL", {}},
      {"title = 'Apple pie'", {"7"}},
      {"title = 'apple pie'", {}},
  };
  TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
  for (const auto& c : cases) {
    const auto t = db.GetTable(Gbk(std::string("SELECT * FROM enci where ") + c.where));
    std::set<std::string> ids;
    for (; !t->Eof(); t->Next()) ids.insert(t->FieldAsString(t->FieldIndex("id")));
    EXPECT_EQ(ids, c.ids) << c.where;
  }
}

TEST(GbkLikeTest, ReversedTextKeepsEveryCharacterWhole) {
  const struct {
    std::string text, reversed;
  } cases[] = {
      {"", ""},
      {"abc", "cba"},
      {Gbk("中国"), Gbk("国中")},
      {Gbk("a中b"), Gbk("b中a")},
      // A second byte that is an ASCII letter or '_' stays behind its first byte.
      {"x\x81\x61\x81\x5F", "\x81\x5F\x81\x61x"},
      // A lead byte without a second byte is a character of its own.
      {"\x81%\xFF\x81", "\x81\xFF%\x81"},
  };
  for (const auto& c : cases) EXPECT_EQ(gbk::ReverseChars(c.text), c.reversed) << c.text;
}

}  // namespace
