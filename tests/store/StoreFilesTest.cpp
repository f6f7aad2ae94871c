#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/gob.h"
#include "tests/store/ErrorOf.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/Gbk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;
using testsupport::WriteFixtureStores;
using ui::Gbk;

using storetest::ErrorOf;

std::string FileStart(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(16, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return head;
}

std::vector<std::string> FolderEntries() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(fs::current_path())) {
    names.push_back(e.path().filename().string());
  }
  return names;
}

// Every row of a statement as "v1|v2|...".
std::vector<std::string> Rows(const char* file, const char* key, const std::string& sql) {
  TSQLiteDatabase db(file, key);
  const auto t = db.GetTable(sql);
  std::vector<std::string> rows;
  for (; !t->Eof(); t->Next()) {
    std::string row;
    for (int i = 0; i < t->ColCount(); ++i) row.append(i ? "|" : "").append(t->FieldAsString(i));
    rows.push_back(row);
  }
  return rows;
}

const char* const kNotADatabase =
    "Error executing SQL.\rError [26]: File opened that is not a database file.\r\"error\": "
    "file is encrypted or is not a database";

TEST(StoreFilesTest, StoresAnswerTheProgramsStatements) {
  TempWorkDir dir;
  WriteFixtureStores({{123, "apple", "<b>apple</b>"},
                      {7, "中国", "<b>中国</b> China"},
                      {60000, "苹果", std::nullopt}});
  using V = std::vector<std::string>;
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey, "SELECT * FROM enci where id='123' limit 1"),
            V{"123|apple"});
  EXPECT_EQ(Rows(EntryStoreName, EntryStoreKey, "SELECT * FROM enci where id='123' limit 1"),
            V{"123|<b>apple</b>"});
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey, "SELECT id FROM enci where id>100 order by id asc"),
            (V{"123", "60000"}));
  // GBK bytes go in and come back unchanged, through = as through like.
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey,
                 Gbk("SELECT * FROM enci where title = '中国' order by id asc")),
            V{"7|" + Gbk("中国")});
  EXPECT_EQ(Rows(EntryStoreName, EntryStoreKey, "SELECT a FROM enci where id='7' limit 1"),
            V{Gbk("<b>中国</b> China")});
  // A headword without an entry has no row in the entry store.
  EXPECT_EQ(Rows(EntryStoreName, EntryStoreKey, "SELECT * FROM enci where id='60000' limit 1"),
            V{});
  // The exact search and word start have their indexes; word end has every headword with its
  // characters reversed.
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey,
                 "SELECT name FROM sqlite_master where type='index' and tbl_name='enci'"),
            (V{"enci_title", "enci_first"}));
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey, "SELECT rtitle, id FROM enci_reversed"),
            (V{"elppa|123", Gbk("国中") + "|7", Gbk("果苹") + "|60000"}));
}

TEST(StoreFilesTest, IndexStoreIsEncryptedAndEntryStorePlain) {
  TempWorkDir dir;
  WriteFixtureStores({{1, "apple", "apple entry"}});
  const std::string plainHeader("SQLite format 3\0", 16);
  EXPECT_NE(FileStart(IndexStoreName), plainHeader);
  EXPECT_EQ(FileStart(EntryStoreName), plainHeader);
}

TEST(StoreFilesTest, OnlyTheFirstFourKeyBytesCountAndAWrongKeyFailsAtTheFirstQuery) {
  TempWorkDir dir;
  WriteFixtureStores({{1, "apple", "apple entry"}});
  const struct {
    const char* file;
    const char* key;
    bool opens;
  } cases[] = {
      {IndexStoreName, IndexStoreKey, true},   {IndexStoreName, "rumk", true},
      {IndexStoreName, "rumkXXXXXXXX", true},  {IndexStoreName, nullptr, false},
      {IndexStoreName, "Rumk4062913T", false}, {IndexStoreName, "abcd", false},
      {EntryStoreName, nullptr, true},         {EntryStoreName, IndexStoreKey, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " key " + (c.key ? c.key : "(none)"));
    std::unique_ptr<TSQLiteDatabase> db;
    ASSERT_NO_THROW(db = std::make_unique<TSQLiteDatabase>(c.file, c.key));
    const std::string error = ErrorOf([&] { db->GetTable("SELECT * FROM enci"); });
    EXPECT_EQ(error, c.opens ? "" : kNotADatabase);
  }
}

// Word indexes written while the form still hashed every page read as they did, and the key
// rules hold for them too.
TEST(StoreFilesTest, AnIndexInTheFormWithPageHmacStillReads) {
  TempWorkDir dir;
  sqlite3* db = nullptr;
  ASSERT_EQ(
      sqlite3_open_v2(IndexStoreName, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
      SQLITE_OK);
  ASSERT_EQ(sqlite3_key(db, IndexStoreKey, 4), SQLITE_OK);
  const int rc = sqlite3_exec(db,
                              "PRAGMA kdf_iter = 1; PRAGMA cipher_page_size = 4096;"
                              "PRAGMA cipher_use_hmac = ON;"
                              "CREATE TABLE enci(id INTEGER PRIMARY KEY, title TEXT);"
                              "INSERT INTO enci VALUES (5, 'apple'), (6, 'pear');",
                              nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK);

  for (const char* key : {IndexStoreKey, "abcd"}) {
    SCOPED_TRACE(key);
    TSQLiteDatabase index(IndexStoreName, key);
    std::vector<std::string> rows;
    const std::string error = ErrorOf([&] {
      const auto table = index.GetTable("SELECT id, title FROM enci ORDER BY id");
      for (; !table->Eof(); table->Next()) rows.push_back(table->FieldAsString(1));
    });
    if (key == IndexStoreKey) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(rows, (std::vector<std::string>{"apple", "pear"}));
    } else {
      EXPECT_EQ(error, kNotADatabase);
    }
  }
}

TEST(StoreFilesTest, MissingStoreFailsAtTheOpenAndCreatesNoFile) {
  TempWorkDir dir;
  for (const char* name : {IndexStoreName, EntryStoreName}) {
    const std::string error = ErrorOf([&] { TSQLiteDatabase db(name, IndexStoreKey); });
    EXPECT_EQ(error, std::string("Failed to open database \"") + name +
                         "\" : unable to open database file");
  }
  EXPECT_TRUE(FolderEntries().empty());
}

TEST(StoreFilesTest, WriterReplacesAStoreAndKeepsTheOldOneWhenAWriteFails) {
  TempWorkDir dir;
  WriteIndexStore(IndexStoreName, {{1, "old"}});
  WriteIndexStore(IndexStoreName, {{2, "new"}});
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey, "SELECT * FROM enci"),
            std::vector<std::string>{"2|new"});

  const std::string error = ErrorOf([] {
    WriteIndexStore(IndexStoreName, {{3, "a"}, {3, "duplicate"}});
  });
  EXPECT_NE(error.find("enci.edt"), std::string::npos) << error;
  EXPECT_EQ(Rows(IndexStoreName, IndexStoreKey, "SELECT * FROM enci"),
            std::vector<std::string>{"2|new"});
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{IndexStoreName});

  // A folder that is not there: the open fails and leaves nothing behind, connection
  // included (the sanitizer build checks that).
  EXPECT_EQ(ErrorOf([] {
              WriteEntryStore("nowhere/enci.dbf", {{1, "a"}});
            }),
            "Could not write store \"nowhere/enci.dbf\" (open): unable to open database file");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{IndexStoreName});
}

TEST(StoreFilesTest, WriterRefusesEntryNumbersLongerThanEightCharacters) {
  TempWorkDir dir;
  EXPECT_NO_THROW(WriteIndexStore(IndexStoreName, {{99999999, "last"}, {-9999999, "first"}}));
  EXPECT_EQ(ErrorOf([] {
              WriteIndexStore(IndexStoreName, {{100000000, "a"}});
            }),
            "Could not write store \"enci.edt\": entry number 100000000 is longer than 8 "
            "characters");
  EXPECT_EQ(ErrorOf([] {
              WriteEntryStore(EntryStoreName, {{-10000000, "a"}});
            }),
            "Could not write store \"enci.dbf\": entry number -10000000 is longer than 8 "
            "characters");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{IndexStoreName});
}

TEST(StoreFilesTest, KeyedStoreOpensInTheSqlcipherShellWithTheDocumentedSettings) {
  const QString shell = QStringLiteral(SQLCIPHER_SHELL);
  if (shell.isEmpty()) GTEST_SKIP() << "the sqlcipher shell is not installed";
  TempWorkDir dir;
  WriteIndexStore(IndexStoreName, {{5, "apple"}, {6, "pear"}});
  const auto run = [&](const QByteArray& script) {
    QProcess p;
    p.start(shell, {QString::fromLatin1(IndexStoreName)});
    p.write(script);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return p.readAllStandardOutput();
  };
  const QByteArray settings =
      "PRAGMA key='rumk';\nPRAGMA kdf_iter=1;\nPRAGMA cipher_page_size=4096;\n"
      "PRAGMA cipher_use_hmac=OFF;\n";
  EXPECT_EQ(run(settings + "SELECT id, title FROM enci ORDER BY id;\n"), "5|apple\n6|pear\n");
  // The documented settings are needed: the shell's own defaults do not open it.
  EXPECT_EQ(run("PRAGMA key='rumk';\nSELECT id, title FROM enci ORDER BY id;\n"), "");
}

}  // namespace
