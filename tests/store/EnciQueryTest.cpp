#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <string>

#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"

namespace {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome RunEnciQuery(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(ENCI_QUERY), args);
  EXPECT_TRUE(p.waitForFinished(30000));
  return {p.exitCode(), p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}

TEST(EnciQueryTest, PrintsRowsInUtf8AndReportsStoreErrors) {
  testsupport::TempWorkDir dir;
  testsupport::WriteFixtureStores(
      {{1, "中国", "<b>中国</b>"}, {2, "apple", std::nullopt}, {4, "中国人", "人"}});
  const struct {
    QStringList args;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      {{"--key", "enci.edt", "SELECT id, title FROM enci where title like '中国%' order by id asc"},
       0,
       "1\t中国\n4\t中国人\n",
       ""},
      {{"--key", "enci.edt", "SELECT * FROM enci where id='2' limit 1"}, 0, "2\tapple\n", ""},
      {{"enci.dbf", "SELECT id, a, NULL FROM enci order by id"},
       0,
       "1\t<b>中国</b>\t\n4\t人\t\n",
       ""},
      {{"enci.dbf", "SELECT * FROM enci where id='2'"}, 0, "", ""},
      {{"enci.edt", "SELECT * FROM enci"},
       1,
       "",
       "Error executing SQL.\rError [26]: File opened that is not a database file.\r\"error\": "
       "file is encrypted or is not a database\n"},
      {{"--key", "enci.edt", "SELECT * FROM 词"},
       1,
       "",
       "Error executing SQL.\rError [1]: SQL error or missing database.\r\"error\": "
       "no such table: 词\n"},
      {{"--key", "nope.edt", "SELECT 1 FROM enci"},
       1,
       "",
       "Failed to open database \"nope.edt\" : unable to open database file\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const Outcome o = RunEnciQuery(c.args);
    EXPECT_EQ(o.exitCode, c.exitCode);
    EXPECT_EQ(o.out, c.out);
    EXPECT_EQ(o.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists("nope.edt"));
}

TEST(EnciQueryTest, RefusesBadArgumentsAndTextGbkCannotHold) {
  testsupport::TempWorkDir dir;
  testsupport::WriteFixtureStores({{1, "apple", std::nullopt}});
  for (const QStringList& args :
       {QStringList{}, QStringList{"enci.dbf"}, QStringList{"--key", "enci.edt"},
        QStringList{"--key", "enci.edt", "SELECT 1", "extra"},
        QStringList{"enci.dbf", "SELECT '😀'"}}) {
    const Outcome o = RunEnciQuery(args);
    EXPECT_EQ(o.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_EQ(o.out, "");
    EXPECT_FALSE(o.err.empty());
  }
}

}  // namespace
