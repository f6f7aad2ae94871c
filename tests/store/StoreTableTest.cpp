#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "tests/store/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "ui/Gbk.h"

namespace {

using storetest::ErrorOf;

// One plain database with columns of every declared type the kind rules tell apart.
// Row 0 holds values, row 1 only NULLs.
class StoreTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDatabase("t.db", nullptr,
                  "CREATE TABLE t(i INTEGER, n int, li integer, r REAL, tx TEXT, b BLOB,"
                  " v VARCHAR(20), bo BOOLEAN, nu NUMERIC, f FLOAT, d DOUBLE, eb BLOB);"
                  "INSERT INTO t VALUES(42, 42, 42, 2.5, 'hello', x'610062', 'v', 1, 7, -0.5,"
                  " 1e20, x'');"
                  "INSERT INTO t VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
                  " NULL, NULL, NULL);"
                  "CREATE TABLE s(i INTEGER);"
                  "INSERT INTO s VALUES('12abc');"
                  "CREATE TABLE e(id INTEGER PRIMARY KEY, title TEXT);");
    db_ = std::make_unique<TSQLiteDatabase>("t.db", nullptr);
  }

  testsupport::TempWorkDir dir_;
  std::unique_ptr<TSQLiteDatabase> db_;
};

TEST_F(StoreTableTest, EmptyResultIsAtEofWithItsOwnMessages) {
  const auto t = db_->GetTable("SELECT * FROM e");
  EXPECT_EQ(t->Count(), 0);
  EXPECT_EQ(t->ColCount(), 0);
  EXPECT_TRUE(t->Eof());
  EXPECT_FALSE(t->Next());
  EXPECT_EQ(ErrorOf([&] { t->FieldIndex("id"); }), "Field id Not found. Empty dataset");
  EXPECT_EQ(ErrorOf([&] { t->FieldAsString(0); }), "Table is at End of File");
}

TEST_F(StoreTableTest, EveryAccessorRaisesOncePastTheLastRow) {
  const auto t = db_->GetTable("SELECT i, r, b FROM t");
  ASSERT_EQ(t->Count(), 2);
  EXPECT_TRUE(t->Next());
  EXPECT_TRUE(t->Next());
  EXPECT_TRUE(t->Eof());
  EXPECT_FALSE(t->Next());
  EXPECT_FALSE(t->Next());
  const char* eof = "Table is at End of File";
  EXPECT_EQ(ErrorOf([&] { t->FieldAsString(0); }), eof);
  EXPECT_EQ(ErrorOf([&] { t->Fields(0); }), eof);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsInteger(0); }), eof);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsDouble(1); }), eof);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsBlob(2); }), eof);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsBlobText(2); }), eof);
}

TEST_F(StoreTableTest, DeclaredTypeSettlesKindAndHowValuesAndNullsRead) {
  const struct {
    const char* column;
    int kind;
    std::string value;      // row 0, FieldAsString
    const char* nullField;  // row 1, Fields (FieldAsString of a NULL is always "")
  } cases[] = {
      {"i", kKindInteger, "42", "0"}, {"n", kKindText, "42", ""},
      {"li", kKindText, "42", ""},    {"r", kKindFloat, "2.5", "0"},
      {"tx", kKindText, "hello", ""}, {"b", kKindBlob, std::string("a\0b", 3), ""},
      {"v", kKindText, "v", ""},      {"bo", kKindInteger, "1", "0"},
      {"nu", kKindFloat, "7", "0"},   {"f", kKindFloat, "-0.5", "0"},
      {"d", kKindFloat, "1E20", "0"}, {"eb", kKindBlob, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    const auto t = db_->GetTable(std::string("SELECT ") + c.column + " FROM t");
    ASSERT_EQ(t->Count(), 2);
    EXPECT_EQ(t->ColumnKinds().at(0), c.kind);
    EXPECT_EQ(t->FieldAsString(0), c.value);
    t->Next();
    EXPECT_EQ(t->FieldAsString(0), "");
    EXPECT_EQ(t->Fields(0), c.nullField);
  }
}

TEST_F(StoreTableTest, TypedAccessorsConvertOrRefuseByKind) {
  const auto t = db_->GetTable("SELECT i, r, tx, b, eb FROM t");
  EXPECT_EQ(t->FieldAsInteger(0), 42);
  EXPECT_EQ(t->FieldAsDouble(0), 42.0);
  EXPECT_EQ(t->FieldAsInteger(1), 2);
  EXPECT_EQ(t->FieldAsDouble(1), 2.5);
  const char* notNumeric = "Not an integer or numeric field";
  const char* notBlob = "Not a Blob field";
  EXPECT_EQ(ErrorOf([&] { t->FieldAsInteger(2); }), notNumeric);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsDouble(2); }), notNumeric);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsInteger(3); }), notNumeric);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsBlob(0); }), notBlob);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsBlobText(1); }), notBlob);
  EXPECT_EQ(ErrorOf([&] { t->FieldAsBlob(2); }), notBlob);
  ASSERT_NE(t->FieldAsBlob(3), nullptr);
  EXPECT_EQ(*t->FieldAsBlob(3), std::string("a\0b", 3));
  EXPECT_EQ(t->FieldAsBlob(4), nullptr);  // an empty BLOB holds nothing
  EXPECT_EQ(t->FieldAsBlobText(4), "");
  // A failed accessor leaves the row where it was.
  EXPECT_FALSE(t->Eof());
  t->Next();
  // NULL reads as zero or nothing before any kind check.
  EXPECT_EQ(t->FieldAsInteger(2), 0);
  EXPECT_EQ(t->FieldAsDouble(3), 0.0);
  EXPECT_EQ(t->FieldAsBlob(0), nullptr);
}

TEST_F(StoreTableTest, IntegerKindConvertsStoredText) {
  const auto t = db_->GetTable("SELECT i FROM s");
  EXPECT_EQ(t->ColumnKinds().at(0), kKindInteger);
  EXPECT_EQ(t->FieldAsInteger(0), 12);
  EXPECT_EQ(t->FieldAsString(0), "12");
}

TEST_F(StoreTableTest, ExpressionColumnsTakeTheKindOfTheirFirstValue) {
  const struct {
    const char* sql;
    int kind;
    const char* first;
    const char* second;
  } cases[] = {
      {"SELECT NULL AS x UNION ALL SELECT 5", kKindNull, "", ""},
      {"SELECT 5 AS x UNION ALL SELECT NULL", kKindInteger, "5", ""},
      {"SELECT 'a' || 'b' AS x UNION ALL SELECT 7", kKindText, "ab", "7"},
      {"SELECT 1.5 AS x UNION ALL SELECT 3", kKindFloat, "1.5", "3"},
      {"SELECT count(*) AS x FROM t UNION ALL SELECT 2.9", kKindInteger, "2", "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    const auto t = db_->GetTable(c.sql);
    ASSERT_EQ(t->Count(), 2);
    EXPECT_EQ(t->ColumnKinds().at(0), c.kind);
    EXPECT_EQ(t->FieldAsString(0), c.first);
    t->Next();
    EXPECT_EQ(t->FieldAsString(0), c.second);
  }
}

TEST_F(StoreTableTest, FloatsReadInTheGeneralFormat) {
  const struct {
    const char* expr;
    const char* text;
  } cases[] = {
      {"2.5", "2.5"},
      {"-2.5", "-2.5"},
      {"100.0", "100"},
      {"0.1 + 0.2", "0.3"},
      {"1.0 / 3", "0.333333333333333"},
      {"2.0 / 3", "0.666666666666667"},
      {"0.00001", "0.00001"},
      {"0.0000123", "0.0000123"},
      {"0.000001234", "1.234E-6"},
      {"123456789012345.0", "123456789012345"},
      {"1e15", "1E15"},
      {"-1.5e300", "-1.5E300"},
      {"0.0", "0"},
      {"9e999", "INF"},
  };
  for (const auto& c : cases) {
    const auto t = db_->GetTable(std::string("SELECT ") + c.expr);
    ASSERT_EQ(t->ColumnKinds().at(0), kKindFloat) << c.expr;
    EXPECT_EQ(t->FieldAsString(0), c.text) << c.expr;
  }
}

TEST_F(StoreTableTest, FloatsBeyondTheIntegerRangeTruncateToItsEnds) {
  const auto t = db_->GetTable("SELECT 1e300, -1e300, -2.9");
  EXPECT_EQ(t->FieldAsInteger(0), INT64_MAX);
  EXPECT_EQ(t->FieldAsInteger(1), INT64_MIN);
  EXPECT_EQ(t->FieldAsInteger(2), -2);
}

TEST_F(StoreTableTest, TextIsCutAtAnEmbeddedNul) {
  const auto t = db_->GetTable("SELECT CAST(x'6162006364' AS TEXT)");
  EXPECT_EQ(t->FieldAsString(0), "ab");
}

TEST_F(StoreTableTest, OnlyTheFirstStatementOfATextRuns) {
  const auto t = db_->GetTable("SELECT 1 AS a; this is not a statement");
  ASSERT_EQ(t->Count(), 1);
  EXPECT_EQ(t->ColumnNames(), std::vector<std::string>{"A"});
  EXPECT_EQ(t->FieldAsString(0), "1");
}

TEST_F(StoreTableTest, TextWithoutAStatementGivesAnEmptyTable) {
  for (const char* sql : {"", "   ", "-- nothing"}) {
    const auto t = db_->GetTable(sql);
    EXPECT_EQ(t->Count(), 0) << sql;
    EXPECT_TRUE(t->Eof()) << sql;
  }
}

TEST_F(StoreTableTest, FieldIndexIgnoresCaseAndNamesTheMissingField) {
  const auto t = db_->GetTable("SELECT i AS id, tx AS title FROM t");
  EXPECT_EQ(t->ColumnNames(), (std::vector<std::string>{"ID", "TITLE"}));
  for (const char* name : {"TITLE", "title", "Title"}) EXPECT_EQ(t->FieldIndex(name), 1) << name;
  EXPECT_EQ(ErrorOf([&] { t->FieldIndex("Nope"); }), "Field not found in dataset: Nope");
}

TEST_F(StoreTableTest, FieldIndexLeavesDoubleByteNamesWhole) {
  // The trail byte of the first name is 'z', of the second 'Z': upper-casing bytes blindly
  // would make the two names one.
  const std::string lower = ui::Gbk("亃");
  const std::string upper = ui::Gbk("乑");
  ASSERT_EQ(lower, "\x81z");
  ASSERT_EQ(upper, "\x81Z");
  const auto t = db_->GetTable("SELECT 1 AS \"" + lower + "\", 2 AS \"" + upper + "\"");
  EXPECT_EQ(t->ColumnNames(), (std::vector<std::string>{lower, upper}));
  EXPECT_EQ(t->FieldIndex(lower), 0);
  EXPECT_EQ(t->FieldIndex(upper), 1);
}

TEST_F(StoreTableTest, FailuresComposeTheLibraryErrorAndLeaveTheConnectionUsable) {
  const struct {
    const char* sql;
    const char* message;
  } cases[] = {
      {"SELEC 1",
       "Error executing SQL.\rError [1]: SQL error or missing database.\r\"error\": "
       "near \"SELEC\": syntax error"},
      {"SELECT * FROM enci where id='1' limit 1",
       "Error executing SQL.\rError [1]: SQL error or missing database.\r\"error\": "
       "no such table: enci"},
      {"SELECT abs(-9223372036854775807 - 1)",
       "Could not retrieve data.\rError [1]: SQL error or missing database.\r\"error\": "
       "integer overflow"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { db_->GetTable(c.sql); }), c.message) << c.sql;
    EXPECT_EQ(db_->GetTable("SELECT 3")->FieldAsString(0), "3") << c.sql;
    EXPECT_EQ(ErrorOf([&] { db_->ForEachRow(c.sql, [](const TSQLiteRow&) { return true; }); }),
              c.message)
        << c.sql;
    EXPECT_EQ(db_->GetTable("SELECT 3")->FieldAsString(0), "3") << c.sql;
  }
}

TEST_F(StoreTableTest, RowsReadOneByOneKeepEveryByteAndStopWhenAsked) {
  const std::string sql =
      "SELECT 1, 'a' UNION ALL SELECT 2, NULL UNION ALL SELECT 3, CAST(x'6162006364' AS TEXT)"
      " UNION ALL SELECT 4, x'FF41' UNION ALL SELECT 5, 'never read'";
  std::vector<std::pair<std::int64_t, std::optional<std::string>>> seen;
  db_->ForEachRow(sql, [&](const TSQLiteRow& row) {
    const auto text = row.Text(1);
    seen.emplace_back(row.Integer(0), text ? std::optional<std::string>(*text) : std::nullopt);
    return row.Integer(0) < 4;
  });
  const std::vector<std::pair<std::int64_t, std::optional<std::string>>> expected = {
      {1, "a"}, {2, std::nullopt}, {3, std::string("ab\0cd", 5)}, {4, "\xFF\x41"}};
  EXPECT_EQ(seen, expected);

  // A reader that throws leaves nothing open: the connection goes on and closes.
  EXPECT_EQ(ErrorOf([&] {
              db_->ForEachRow(sql, [](const TSQLiteRow&) -> bool { throw ESQLiteException("x"); });
            }),
            "x");
  EXPECT_EQ(db_->GetTable("SELECT 3")->FieldAsString(0), "3");
  int rows = 0;
  db_->ForEachRow("-- nothing", [&](const TSQLiteRow&) { return ++rows > 0; });
  EXPECT_EQ(rows, 0);
}

TEST_F(StoreTableTest, RaiseErrorIsSilentWhenTheLibraryReportsNoError) {
  EXPECT_EQ(ErrorOf([&] { db_->RaiseError("Error executing SQL", "SELECT 1"); }), "");
}

TEST_F(StoreTableTest, TableStaysReadableAfterItsConnectionIsGone) {
  auto t = db_->GetTable("SELECT i, tx, b FROM t");
  db_.reset();
  EXPECT_EQ(t->FieldAsString(0), "42");
  EXPECT_EQ(t->FieldAsString(1), "hello");
  EXPECT_EQ(t->FieldAsBlobText(2), std::string("a\0b", 3));
  EXPECT_TRUE(t->Next());
  EXPECT_EQ(t->FieldAsString(0), "");
}

}  // namespace
