#include <gtest/gtest.h>

#include "store/StoreCodes.h"

TEST(SQLiteErrorTextTest, GivesTheFixedTextOfEveryCode) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {0, "Successful result"},
      {1, "SQL error or missing database"},
      {2, "An internal logic error in SQLite"},
      {3, "Access permission denied"},
      {4, "Callback routine requested an abort"},
      {5, "The database file is locked"},
      {6, "A table in the database is locked"},
      {7, "A malloc() failed"},
      {8, "Attempt to write a readonly database"},
      {9, "Operation terminated by sqlite3_interrupt()"},
      {10, "Some kind of disk I/O error occurred"},
      {11, "The database disk image is malformed"},
      {12, "(Internal Only) Table or record not found"},
      {13, "Insertion failed because database is full"},
      {14, "Unable to open the database file"},
      {15, "Database lock protocol error"},
      {16, "Database is empty"},
      {17, "The database schema changed"},
      {18, "Too much data for one row of a table"},
      {19, "Abort due to contraint violation"},
      {20, "Data type mismatch"},
      {21, "Library used incorrectly"},
      {22, "Uses OS features not supported on host"},
      {23, "Authorization denied"},
      {24, "Auxiliary database format error"},
      {25, "2nd parameter to sqlite3_bind out of range"},
      {26, "File opened that is not a database file"},
      {100, "sqlite3_step() has another row ready"},
      {101, "sqlite3_step() has finished executing"},
      {27, "Unknown SQLite Error Code \"27\""},
      {99, "Unknown SQLite Error Code \"99\""},
      {999, "Unknown SQLite Error Code \"999\""},
      {-1, "Unknown SQLite Error Code \"-1\""},
      {266, "Unknown SQLite Error Code \"266\""},
  };
  for (const auto& c : cases) EXPECT_EQ(SQLiteErrorText(c.code), c.text) << "code " << c.code;
}
