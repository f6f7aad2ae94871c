// What a fill puts into the result list and which entry it picks.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "search/ListFill.h"
#include "ui/DataGrid.h"
#include "ui/Gbk.h"

namespace {

using search::TFoundRow;

TEST(ListFill, PicksTheLastExactMatchElseTheFirstRow) {
  const std::vector<TFoundRow> bank = {{"1200", "bank"}, {"1300", "bank"}, {"1400", "banker"}};
  const struct {
    std::vector<TFoundRow> rows;
    std::string term, entryId;
  } cases[] = {
      {bank, "bank", "1300"},  // the last equal headword wins, not the first
      {bank, "Bank", "1200"},  // case counts
      {bank, "banker", "1400"},
      {bank, "", "1200"},         // start-up listing
      {bank, " bank\t", "1300"},  // the term is compared trimmed
      {{{"7", " bank"}}, "bank", "7"},
      {{{"7", "x"}, {"8", " bank"}}, "bank", "7"},  // the title is compared as stored
  };
  for (const auto& c : cases) {
    EXPECT_EQ(search::BuildListFill(c.rows, c.term).entryId, c.entryId) << c.term;
  }
}

TEST(ListFill, KeepsTableOrderAndPrefixesTheWordWithABlank) {
  const auto fill = search::BuildListFill({{"30", "b"}, {"10", "a"}}, "");
  EXPECT_EQ(fill.ids, (std::vector<std::string>{"30", "10"}));
  EXPECT_EQ(fill.words, (std::vector<std::string>{" b", " a"}));
}

TEST(ListFill, CutsTheWordTo25AndTheIdTo8Bytes) {
  const std::string letters30 = "abcdefghijklmnopqrstuvwxyzabcd";
  std::string zh12, zh13;
  for (int i = 0; i < 12; ++i) zh12 += ui::Gbk("词");
  zh13 = zh12 + ui::Gbk("典");
  const std::string mixed = "a" + zh12;  // the 25th byte is the first half of a character
  const struct {
    std::string title, word;
  } cases[] = {
      {letters30, " " + letters30.substr(0, 24)},
      {zh12, " " + zh12},  // fits exactly
      {zh13, " " + zh12},  // loses its last character
      {mixed, " a" + zh12.substr(0, 22) + zh12.substr(22, 1)},
  };
  for (const auto& c : cases) {
    const auto fill = search::BuildListFill({{"1", c.title}}, "");
    EXPECT_EQ(fill.words.at(0), c.word);
    EXPECT_EQ(fill.words.at(0).size(), std::min<std::size_t>(25, c.title.size() + 1));
  }
  EXPECT_EQ(search::BuildListFill({{"123456789", "x"}}, "").ids.at(0), "12345678");
  // The entry is looked up by the whole id and shown with the whole title.
  EXPECT_EQ(search::BuildListFill({{"123456789", "x"}}, "").entryId, "123456789");
}

TEST(ListFill, GridDrawsACutValueWithoutItsDanglingHalf) {
  const struct {
    std::string value, drawn;
  } cases[] = {
      {"", ""},
      {"ab", "ab"},
      {"\xB4", ""},
      {"\xB4\xCA", "\xB4\xCA"},
      {"a\xB4\xCA\xB4", "a\xB4\xCA"},
      {"\xB4\x43\xB4", "\xB4\x43"},  // a second byte may be ASCII, then a lone first half
      {"\x80", "\x80"},              // a one-byte character
  };
  for (const auto& c : cases) EXPECT_EQ(ui::WholeCharacters(c.value), c.drawn);
}

TEST(ListFill, DataSetTakesRowsLaidEndToEnd) {
  ui::TClientDataSet set;
  set.RebuildFlat({{"id", 2}, {"word", 3}}, {"1234", "abcd", "5", "", "67", "xyz"});
  ASSERT_EQ(set.RecordCount(), 3);
  EXPECT_EQ(set.RecNo(), 0);
  const char* const shown[3][2] = {{"12", "abc"}, {"5", ""}, {"67", "xyz"}};
  for (int r = 0; r < 3; ++r) {
    for (int f = 0; f < 2; ++f) EXPECT_EQ(set.Value(r, f), shown[r][f]) << r << ',' << f;
  }
  // Values that end inside a row change nothing.
  EXPECT_THROW(set.RebuildFlat({{"a", 1}, {"b", 1}}, {"x", "y", "z"}), std::invalid_argument);
  EXPECT_THROW(set.RebuildFlat({}, {"x"}), std::invalid_argument);
  EXPECT_EQ(set.RecordCount(), 3);
  EXPECT_EQ(set.Value(2, 1), "xyz");
}

TEST(ListFill, DataSetHoldsEachRowsValuesCutToTheirFields) {
  ui::TClientDataSet set;
  set.Rebuild({{"a", 2}, {"b", 3}, {"c", 1}}, {{"1234", "abcd", "xy"}, {"5", "", "z"}});
  ASSERT_EQ(set.RecordCount(), 2);
  EXPECT_EQ(set.RecNo(), 0);
  const std::vector<std::vector<std::string>> shown = {{"12", "abc", "x"}, {"5", "", "z"}};
  for (int r = 0; r < 2; ++r) {
    for (int f = 0; f < 3; ++f) EXPECT_EQ(set.Value(r, f), shown[r][f]) << r << ',' << f;
  }
  EXPECT_THROW(set.Value(2, 0), std::out_of_range);
  EXPECT_THROW(set.Value(-1, 0), std::out_of_range);
  EXPECT_THROW(set.Value(0, 3), std::out_of_range);

  set.Rebuild({{"id", 8}}, {{"7"}, {"8"}, {"9"}});
  EXPECT_EQ(set.RecordCount(), 3);
  EXPECT_EQ(set.Value(2, 0), "9");
  EXPECT_THROW(set.Value(0, 1), std::out_of_range);

  // A row of the wrong width changes nothing.
  EXPECT_THROW(set.Rebuild({{"a", 1}}, {{"x"}, {"x", "y"}}), std::invalid_argument);
  EXPECT_EQ(set.RecordCount(), 3);
  EXPECT_EQ(set.Value(1, 0), "8");

  set.Rebuild({{"a", 1}, {"b", 1}}, {});
  EXPECT_EQ(set.RecordCount(), 0);
  EXPECT_EQ(set.FieldCount(), 2);
  EXPECT_EQ(set.RecNo(), -1);
  EXPECT_THROW(set.Value(0, 0), std::out_of_range);
}

}  // namespace
