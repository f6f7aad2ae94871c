// Statement building and trimming of the search: pure functions, byte for byte.

#include <gtest/gtest.h>

#include "search/Query.h"
#include "ui/Gbk.h"

namespace {

using search::TQuickMode;

TEST(TrimBlank, RemovesLowBytesAtBothEndsOnly) {
  const struct {
    std::string in, out;
  } cases[] = {
      {" ap\t\r\n", "ap"},
      {"\x01\x1F"
       "a b\x20",
       "a b"},
      {"   ", ""},
      {"", ""},
      // A full-width space (A1 A1) is two bytes above 0x7F and stays.
      {"\xA1\xA1"
       "a\xA1\xA1 ",
       "\xA1\xA1"
       "a\xA1\xA1"},
      {"\x7F"
       "x",
       "\x7F"
       "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(search::TrimBlank(c.in), c.out) << c.in;
}

TEST(Statements, AreTheFixedPiecesAroundTheText) {
  const std::string zh = ui::Gbk("中");  // 2 bytes: the long limit
  ASSERT_EQ(zh.size(), 2u);
  const struct {
    TQuickMode mode;
    std::string text, statement;
  } cases[] = {
      {TQuickMode::WordStart, "a",
       "SELECT * FROM enci where title like 'a%' order by id asc limit 800"},
      {TQuickMode::WordStart, "ap",
       "SELECT * FROM enci where title like 'ap%' order by id asc limit 10000"},
      {TQuickMode::WordStart, zh,
       "SELECT * FROM enci where title like '" + zh + "%' order by id asc limit 10000"},
      {TQuickMode::WordEnd, "abc",
       "select * from enci where title like '%abc' order by id asc  limit 10000"},
      {TQuickMode::WordEnd, "c",
       "select * from enci where title like '%c' order by id asc  limit 800"},
      {TQuickMode::Fuzzy, "abc",
       "select * from enci where title like '%abc%' order by id asc limit  10000"},
      {TQuickMode::Exact, "apple", "select * from enci where title = 'apple' order by id asc "},
      // A trailing blank is trimmed before the statement is built.
      {TQuickMode::WordStart, search::TrimBlank("ap "),
       "SELECT * FROM enci where title like 'ap%' order by id asc limit 10000"},
      // Quotes are doubled, so the text stays inside its literal (a deliberate departure from
      // inserting the text unchanged); the limit still counts the user's bytes.
      {TQuickMode::Exact, "don't", "select * from enci where title = 'don''t' order by id asc "},
      {TQuickMode::WordStart, "'",
       "SELECT * FROM enci where title like '''%' order by id asc limit 800"},
      {TQuickMode::Fuzzy, "x' or '1'='1",
       "select * from enci where title like '%x'' or ''1''=''1%' order by id asc limit  10000"},
      // Wildcards stay wildcards.
      {TQuickMode::WordEnd, "a_%",
       "select * from enci where title like '%a_%' order by id asc  limit 10000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(search::QuickStatement(c.mode, c.text), c.statement) << c.text;
  }
  EXPECT_EQ(search::IncrementalStatement("a"), search::QuickStatement(TQuickMode::WordStart, "a"));
  EXPECT_EQ(search::IncrementalStatement("don't"),
            "SELECT * FROM enci where title like 'don''t%' order by id asc limit 10000");
}

TEST(Statements, EntryLookUpById) {
  EXPECT_EQ(search::EntryStatement("1300"), "SELECT * FROM enci where id='1300' limit 1");
}

}  // namespace
