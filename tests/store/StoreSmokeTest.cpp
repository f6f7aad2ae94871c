#include <gtest/gtest.h>

#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/gob.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"

TEST(StoreFixtureTest, KeyedIndexAndPlainEntryStoreReadBack) {
  testsupport::TempWorkDir dir;
  testsupport::WriteFixtureStores({{7, "apple", "<b>apple</b>"}, {8, "苹果", std::nullopt}});
  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  auto t = index.GetTable("SELECT * FROM enci where title like 'a%' order by id asc");
  ASSERT_EQ(t->Count(), 1);
  EXPECT_EQ(t->FieldAsString(t->FieldIndex("id")), "7");
  EXPECT_EQ(t->FieldAsString(t->FieldIndex("title")), "apple");
  TSQLiteDatabase entries(EntryStoreName, EntryStoreKey);
  auto e = entries.GetTable("SELECT * FROM enci where id='7' limit 1");
  ASSERT_EQ(e->Count(), 1);
  EXPECT_EQ(e->FieldAsString(e->FieldIndex("a")), "<b>apple</b>");
}
