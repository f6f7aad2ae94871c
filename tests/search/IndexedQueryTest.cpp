// The indexed statements against the written ones: the same rows in the same order, on a word
// index full of awkward headwords, for a few thousand generated search texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "search/IndexedQuery.h"
#include "search/Query.h"
#include "store/GbkChars.h"
#include "store/IndexForm.h"
#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/Trigrams.h"
#include "store/gob.h"
#include "tests/support/TempDir.h"

namespace {

using search::TIndexForm;
using search::TQuickMode;

// Fixed-seed generator, so a failure names a text that fails again.
class Lcg {
 public:
  std::uint32_t operator()(std::uint32_t n) {
    seed_ = seed_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::uint32_t>((seed_ >> 33) % n);
  }

 private:
  std::uint64_t seed_ = 0x2545F4914F6CDD1Du;
};

// Pieces of headwords and texts: letters in both cases, the wildcards and the quote as
// characters, GBK characters whose second byte is an ASCII letter or '_', a lead byte that
// pairs with whatever follows it, a lone lead byte at the end, 0xFF bytes, blanks.
const char* const kPieces[] = {"a",
                               "A",
                               "p",
                               "P",
                               "e",
                               "z",
                               "%",
                               "_",
                               "'",
                               " ",
                               "1",
                               "\xD6\xD0",
                               "\xB9\xFA",
                               "\x81\x61",
                               "\x81\x41",
                               "\x81\x5F",
                               "\x81",
                               "\xFF",
                               "\xFE",
                               "\xFE\xFE",
                               "ap",
                               "pe",
                               "\xD6\xD0\xB9\xFA"};

std::string Compose(Lcg& next, std::uint32_t maxPieces) {
  std::string s;
  for (std::uint32_t n = next(maxPieces + 1); n > 0; --n) {
    s += kPieces[next(sizeof kPieces / sizeof kPieces[0])];
  }
  return s;
}

std::vector<IndexRow> AwkwardIndex() {
  Lcg next;
  std::vector<IndexRow> rows;
  std::vector<std::string> titles;
  for (int i = 0; i < 3000; ++i) titles.push_back(Compose(next, 6));
  // Equal headwords under several ids, and every piece alone.
  for (int i = 0; i < 200; ++i) titles.push_back(titles[next(3000)]);
  for (const char* p : kPieces) titles.push_back(p);
  // Ids in no relation to the titles' order, so the order of the rows is the statement's own.
  std::vector<std::int64_t> ids;
  for (std::size_t i = 0; i < titles.size(); ++i) ids.push_back(static_cast<std::int64_t>(i) + 1);
  for (std::size_t i = ids.size(); i > 1; --i) std::swap(ids[i - 1], ids[next(i)]);
  for (std::size_t i = 0; i < titles.size(); ++i) rows.push_back({ids[i] * 7, titles[i]});
  return rows;
}

// Rows of a statement as "id|title" lines, with the column names first.
std::vector<std::string> Rows(TSQLiteDatabase& db, const std::string& statement) {
  const std::unique_ptr<TSQLiteTable> t = db.GetTable(statement);
  std::vector<std::string> rows;
  if (t->Count() == 0) return rows;
  std::string names;
  for (const auto& n : t->ColumnNames()) names += n + "|";
  rows.push_back(names);
  for (; !t->Eof(); t->Next()) rows.push_back(t->FieldAsString(0) + "|" + t->FieldAsString(1));
  return rows;
}

// Found rows as "id|title" lines.
std::vector<std::string> Lines(const std::vector<search::TFoundRow>& found) {
  std::vector<std::string> lines;
  for (const auto& r : found) lines.push_back(r.id + "|" + r.title);
  return lines;
}

// The rows of the written statement itself, read as the result list reads a table.
std::vector<std::string> WrittenLines(TSQLiteDatabase& db, const std::string& statement) {
  return Lines(search::ReadFoundRows(*db.GetTable(statement)));
}

// The written statement of mode with its limit replaced, so that small limits cut results too.
std::string WithLimit(std::string statement, const std::string& limit) {
  statement.erase(statement.find_last_not_of("0123456789") + 1);
  return statement + limit;
}

class IndexedQueryTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteIndexStore(IndexStoreName, AwkwardIndex()); }
  testsupport::TempWorkDir dir_;
};

TEST_F(IndexedQueryTest, GivesTheWrittenRowsInTheWrittenOrder) {
  TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
  const TIndexForm full = search::ReadIndexForm(db);
  ASSERT_TRUE(full.titleIndex && full.firstCharIndex && full.reversedTitles);
  const TIndexForm titleOnly{true, false, false};

  Lcg next;
  std::vector<std::string> texts;
  for (const char* p : kPieces) texts.push_back(p);
  while (texts.size() < 3000) {
    std::string text = search::TrimBlank(Compose(next, 4));
    if (!text.empty()) texts.push_back(std::move(text));
  }
  int indexed = 0, compared = 0;
  for (const auto& text : texts) {
    for (const TQuickMode mode : {TQuickMode::WordStart, TQuickMode::WordEnd}) {
      std::string written = search::QuickStatement(mode, text);
      // Every third look-up with a small limit, which ends most of them early.
      if (compared % 3 == 0) written = WithLimit(written, std::to_string(1 + next(5)));
      const std::vector<std::string> expected = Rows(db, written);
      for (const TIndexForm& form : {full, titleOnly}) {
        const std::string statement = search::IndexedStatement(written, form);
        if (statement != written) ++indexed;
        ++compared;
        ASSERT_EQ(Rows(db, statement), expected) << written << "\nran as\n" << statement;
      }
      // The choice made on the store itself, as the result list makes it.
      const std::string chosen = search::IndexedStatement(db, written);
      ASSERT_EQ(Rows(db, chosen), expected) << written << "\nran as\n" << chosen;
      // The rows as the result list reads them. With a limit of 10000 every word end with a
      // literal to narrow by is read from the reversed titles: this store has 3223 rows.
      ASSERT_EQ(Lines(search::FindRows(db, written)), WrittenLines(db, written)) << written;
    }
  }
  // Most texts must really have gone through an index, or the comparison proves little.
  EXPECT_GT(indexed, compared / 2) << compared;

  // Fuzzy searches, as the result list reads them. Texts of longer runs than above, so that
  // most have three characters in a row for the trigrams to narrow by.
  int withRun = 0;
  for (std::size_t i = 0; i < 3000; ++i) {
    const std::string text = i < texts.size() && i % 2 == 0 ? texts[i] : Compose(next, 6);
    if (search::TrimBlank(text).empty()) continue;
    std::string written = search::QuickStatement(TQuickMode::Fuzzy, text);
    if (i % 3 == 0) written = WithLimit(written, std::to_string(1 + next(5)));
    ASSERT_EQ(Lines(search::FindRows(db, written)), WrittenLines(db, written)) << written;
    bool run = false;
    for (std::size_t at = 0, n = 0; at < text.size(); ++at) {
      n = (text[at] == '%' || text[at] == '_') ? 0 : n + 1;
      run = run || n >= 3;
    }
    withRun += run;
  }
  EXPECT_GT(withRun, 1000);
}

TEST_F(IndexedQueryTest, ReadsAShortRunOfIdsInOrderWhenTheyFollowTheTitles) {
  // Ids in the titles' order with their letters' case folded, as the builder numbers
  // headwords: the candidates of a word start lie in a short run of ids. A few rows out of
  // place and gaps in the numbering keep the run from being exactly the matches.
  std::vector<IndexRow> rows = AwkwardIndex();
  auto folded = [](std::string t) {
    for (char& c : t) c = static_cast<char>(gbk::UpperAscii(static_cast<unsigned char>(c)));
    return t;
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const IndexRow& a, const IndexRow& b) {
    return folded(a.title) < folded(b.title);
  });
  Lcg next;
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].id = 3 * static_cast<std::int64_t>(i) + 1;
  for (int i = 0; i < 40; ++i) std::swap(rows[next(rows.size())].id, rows[next(rows.size())].id);
  WriteIndexStore("ordered.edt", rows);
  TSQLiteDatabase db("ordered.edt", IndexStoreKey);
  const TIndexForm full = search::ReadIndexForm(db);
  ASSERT_TRUE(full.prefixSpans);
  TIndexForm countingSpans = full;
  countingSpans.prefixSpans = false;

  int byId = 0, compared = 0;
  std::set<std::string> spanned;
  while (compared < 3000) {
    const std::string text = search::TrimBlank(Compose(next, 4));
    if (text.empty()) continue;
    std::string written = search::QuickStatement(TQuickMode::WordStart, text);
    if (compared % 3 == 0) written = WithLimit(written, std::to_string(1 + next(5)));
    ++compared;
    const std::vector<std::string> expected = Rows(db, written);
    // The run's ends from enci_spans, and counted in enci_title as stores without it need.
    for (const TIndexForm& form : {full, countingSpans}) {
      const std::string chosen = search::IndexedStatement(db, written, form);
      if (chosen.find("FROM enci WHERE id >= ") != std::string::npos) {
        ++byId;
        if (form.prefixSpans && text.size() <= 3) spanned.insert(text);
      }
      ASSERT_EQ(Rows(db, chosen), expected) << written << "\nran as\n" << chosen;
    }
    ASSERT_EQ(search::IndexedStatement(db, written), search::IndexedStatement(db, written, full));
  }
  EXPECT_GT(byId, compared / 2) << compared;
  EXPECT_GT(spanned.size(), 100u);
}

TEST_F(IndexedQueryTest, ReadsTheRunOfAShortStartFromItsSpan) {
  // A span that names a narrower run than the titles hold tells that it was read: the rows
  // outside it are not found.
  std::string script = std::string(store::kIndexTableSql) + ";" + store::kTitleIndexSql + ";" +
                       store::kPrefixSpanTableSql + ";" +
                       "INSERT INTO enci VALUES (1, 'bad'), (2, 'Bag'), (3, 'bAn'), (4, 'bat');"
                       "INSERT INTO enci_spans VALUES ('BA', 2, 3, 4);";
  WriteDatabase("spans.edt", IndexStoreKey, script);
  TSQLiteDatabase db("spans.edt", IndexStoreKey);
  const std::string written = search::QuickStatement(TQuickMode::WordStart, "BA");
  EXPECT_EQ(WrittenLines(db, written),
            (std::vector<std::string>{"1|bad", "2|Bag", "3|bAn", "4|bat"}));
  EXPECT_EQ(Lines(search::FindRows(db, written)), (std::vector<std::string>{"2|Bag", "3|bAn"}));
  // A start with no row there has no candidates.
  EXPECT_TRUE(search::FindRows(db, search::QuickStatement(TQuickMode::WordStart, "bo")).empty());
}

TEST_F(IndexedQueryTest, LeavesAWordEndWithManyCandidatesToTheScan) {
  TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
  const std::string written = search::QuickStatement(TQuickMode::WordEnd, "ap");
  // Dozens of headwords end in "ap": a limit of 10000 holds them all, one of 3 stops early.
  EXPECT_NE(search::IndexedStatement(db, written), written);
  EXPECT_EQ(search::IndexedStatement(db, WithLimit(written, "3")), WithLimit(written, "3"));
}

TEST_F(IndexedQueryTest, ReadsAWordEndFromTheReversedTitlesAlone) {
  // A store whose reversed titles hold rows that enci lacks tells which one was read.
  const char* const titles[] = {"simple", "pple",  "maple",  "apple", "ripple",
                                "tipple", "ample", "sample", "nipple"};
  std::string script = std::string(store::kIndexTableSql) + ";" + store::kTitleIndexSql + ";" +
                       store::kReversedTableSql + ";";
  std::vector<std::string> all;
  for (int i = 0; i < 9; ++i) {
    const int id = 90 - 10 * i;
    script += "INSERT INTO enci_reversed VALUES ('" + gbk::ReverseChars(titles[i]) + "', " +
              std::to_string(id) + ", '" + titles[i] + "');";
    all.insert(all.begin(), std::to_string(id) + "|" + titles[i]);
  }
  WriteDatabase("split.edt", IndexStoreKey, script);
  TSQLiteDatabase db("split.edt", IndexStoreKey);
  const std::string written = search::QuickStatement(TQuickMode::WordEnd, "ple");
  EXPECT_TRUE(WrittenLines(db, written).empty());
  // In id order, cut at the limit.
  EXPECT_EQ(Lines(search::FindRows(db, written)), all);
  EXPECT_EQ(Lines(search::FindRows(db, WithLimit(written, "2"))),
            (std::vector<std::string>{"10|nipple", "20|sample"}));
  // Nine candidates for a limit of one: eight per row of the limit or more go to the scan.
  EXPECT_TRUE(search::FindRows(db, WithLimit(written, "1")).empty());
}

TEST_F(IndexedQueryTest, ReadsAFuzzySearchsCandidatesFromTheTrigrams) {
  // Trigram lists that leave out a matching headword (5) and name one whose title does not
  // match (7) tell that the lists were read and the like still filters.
  const std::vector<std::pair<int, const char*>> titles = {
      {9, "Apple"}, {3, "grapple"}, {5, "apply"}, {7, "applause"}, {1, "nappless"}};
  std::string script = std::string(store::kIndexTableSql) + ";" + store::kTitleIndexSql + ";" +
                       store::kTrigramTableSql + ";";
  for (const auto& [id, title] : titles) {
    script += "INSERT INTO enci VALUES (" + std::to_string(id) + ", '" + title + "');";
  }
  const auto list = [](const std::vector<std::int64_t>& ids) {
    std::string hex;
    for (const char c : store::EncodeIds(ids)) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      hex += kHex[static_cast<unsigned char>(c) >> 4];
      hex += kHex[c & 0x0F];
    }
    return "x'" + hex + "'";
  };
  script += "INSERT INTO enci_trigrams VALUES (x'415050', " + list({1, 3, 7, 9}) + ");";  // APP
  script += "INSERT INTO enci_trigrams VALUES (x'50504C', " + list({1, 3, 7, 9}) + ");";  // PPL
  script += "INSERT INTO enci_trigrams VALUES (x'504C45', " + list({3, 9}) + ");";        // PLE
  WriteDatabase("grams.edt", IndexStoreKey, script);
  TSQLiteDatabase db("grams.edt", IndexStoreKey);

  const std::string written = search::QuickStatement(TQuickMode::Fuzzy, "ppl");
  EXPECT_EQ(
      WrittenLines(db, written),
      (std::vector<std::string>{"1|nappless", "3|grapple", "5|apply", "7|applause", "9|Apple"}));
  EXPECT_EQ(Lines(search::FindRows(db, written)),
            (std::vector<std::string>{"1|nappless", "3|grapple", "7|applause", "9|Apple"}));
  EXPECT_EQ(Lines(search::FindRows(db, WithLimit(written, "2"))),
            (std::vector<std::string>{"1|nappless", "3|grapple"}));
  // Lists that hold the run in another case: the like decides.
  EXPECT_EQ(Lines(search::FindRows(db, search::QuickStatement(TQuickMode::Fuzzy, "Pple"))),
            (std::vector<std::string>{"3|grapple", "9|Apple"}));
  // A trigram without a list is one no headword holds: nothing, without a scan.
  EXPECT_TRUE(search::FindRows(db, search::QuickStatement(TQuickMode::Fuzzy, "pla")).empty());
  // No run of three characters: the written scan.
  const std::string shortRuns = search::QuickStatement(TQuickMode::Fuzzy, "p_l");
  EXPECT_EQ(Lines(search::FindRows(db, shortRuns)), WrittenLines(db, shortRuns));
  EXPECT_EQ(WrittenLines(db, shortRuns).size(), 5u);
}

TEST_F(IndexedQueryTest, LeavesOtherStatementsAsWritten) {
  TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
  const TIndexForm full = search::ReadIndexForm(db);
  const std::string unchanged[] = {
      search::QuickStatement(TQuickMode::Fuzzy, "ap"),
      search::QuickStatement(TQuickMode::Exact, "ap"),
      search::EntryStatement("7"),
      "SELECT * FROM enci where id>41 order by id asc limit 5000",
      // Texts that begin (or, for a word end, end) with a wildcard narrow nothing.
      search::QuickStatement(TQuickMode::WordStart, "%ap"),
      search::QuickStatement(TQuickMode::WordStart, "_p"),
      search::QuickStatement(TQuickMode::WordEnd, "ap_"),
      // A literal that a lone quote ends early is not one of the search's statements.
      "SELECT * FROM enci where title like 'a'%' order by id asc limit 10",
      "SELECT * FROM enci where title like 'a%' order by id asc limit 10 or 1",
      "SELECT * FROM enci where title like 'a%' order by id asc limit ",
      std::string("SELECT * FROM enci where title like 'a\0b%' order by id asc limit 1", 67),
  };
  for (const auto& s : unchanged) {
    EXPECT_EQ(search::IndexedStatement(s, full), s);
    EXPECT_EQ(search::IndexedStatement(db, s), s);
  }
}

TEST_F(IndexedQueryTest, UsesWhatTheStoreHolds) {
  // The form of stores written before the first-character and word-end indexes existed.
  WriteDatabase("old.edt", IndexStoreKey,
                "CREATE TABLE enci(id INTEGER PRIMARY KEY, title TEXT);"
                "INSERT INTO enci VALUES (1, 'apple');"
                "CREATE INDEX enci_title ON enci(title);");
  // The writer's form with a BLOB title, which no text range holds.
  WriteDatabase("blob.edt", IndexStoreKey,
                std::string(store::kIndexTableSql) + ";" + store::kTitleIndexSql + ";" +
                    store::kFirstCharIndexSql + ";" +
                    "INSERT INTO enci VALUES (1, 'apple'), (2, x'41706578'), (3, x'61');");
  // Same names, other definitions: nothing of it may be trusted.
  WriteDatabase("other.edt", IndexStoreKey,
                "CREATE TABLE enci(id INTEGER PRIMARY KEY, title TEXT COLLATE NOCASE);"
                "CREATE INDEX enci_title ON enci(title);"
                "CREATE INDEX enci_first ON enci(upper(substr(title,1,1)));");
  // The word-end index as it was before it held the titles.
  WriteDatabase("ids.edt", IndexStoreKey,
                std::string(store::kIndexTableSql) + ";" + store::kTitleIndexSql + ";" +
                    store::kFirstCharIndexSql + ";" + store::kReversedIdsTableSql + ";" +
                    "INSERT INTO enci VALUES (1, 'apple'), (2, 'Ape'), (3, 'maple');"
                    "INSERT INTO enci_reversed VALUES ('elppa', 1), ('epA', 2), ('elpam', 3);");
  const struct {
    const char* file;
    TIndexForm form;
  } cases[] = {{IndexStoreName, {true, true, true, true, true, true}},
               {"ids.edt", {true, true, true, false, false, false}},
               {"old.edt", {true, false, false, false, false, false}},
               {"blob.edt", {false, true, false, false, false, false}},
               {"other.edt", {false, false, false, false, false, false}}};
  for (const auto& c : cases) {
    TSQLiteDatabase db(c.file, IndexStoreKey);
    const TIndexForm form = search::ReadIndexForm(db);
    EXPECT_EQ(form.titleIndex, c.form.titleIndex) << c.file;
    EXPECT_EQ(form.firstCharIndex, c.form.firstCharIndex) << c.file;
    EXPECT_EQ(form.reversedTitles, c.form.reversedTitles) << c.file;
    EXPECT_EQ(form.reversedWithTitles, c.form.reversedWithTitles) << c.file;
    EXPECT_EQ(form.trigrams, c.form.trigrams) << c.file;
    EXPECT_EQ(form.prefixSpans, c.form.prefixSpans) << c.file;
    for (const char* text : {"a", "A", "ap", "Ape"}) {
      const std::string written = search::QuickStatement(TQuickMode::WordStart, text);
      EXPECT_EQ(Rows(db, search::IndexedStatement(written, form)), Rows(db, written))
          << c.file << ": " << text;
    }
    for (const char* text : {"ple", "PLE", "pe", "le"}) {
      for (const TQuickMode mode :
           {TQuickMode::WordStart, TQuickMode::WordEnd, TQuickMode::Fuzzy}) {
        const std::string written = search::QuickStatement(mode, text);
        EXPECT_EQ(Lines(search::FindRows(db, written)), WrittenLines(db, written))
            << c.file << ": " << text;
      }
    }
  }
}

TEST_F(IndexedQueryTest, AsksTheIndexesNotEveryRow) {
  TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
  const TIndexForm full = search::ReadIndexForm(db);
  const struct {
    TQuickMode mode;
    const char* text;
    const char* index;
  } cases[] = {{TQuickMode::WordStart, "a", "enci_first"},
               {TQuickMode::WordStart, "ap", "enci_title"},
               {TQuickMode::WordStart, "\xD6\xD0", "enci_title"},
               {TQuickMode::WordEnd, "pe", "enci_reversed"},
               {TQuickMode::WordEnd, "\xB9\xFA", "enci_reversed"}};
  for (const auto& c : cases) {
    const std::string statement =
        search::IndexedStatement(search::QuickStatement(c.mode, c.text), full);
    const auto t = db.GetTable("EXPLAIN QUERY PLAN " + statement);
    std::string plan;
    for (; !t->Eof(); t->Next()) plan += t->FieldAsString(t->FieldIndex("detail")) + "\n";
    EXPECT_NE(plan.find(c.index), std::string::npos) << statement << "\n" << plan;
    EXPECT_EQ(plan.find("SCAN"), std::string::npos) << statement << "\n" << plan;
  }
}

}  // namespace
