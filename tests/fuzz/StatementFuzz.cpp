// Every search text gives exactly one statement, and the library reads its string literal back
// as the text itself: no text can end the literal early or add to the statement.

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "search/Query.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& statement) {
  std::fprintf(stderr, "%s\nstatement: %s\n", what.c_str(), statement.c_str());
  std::abort();
}

sqlite3* Database() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    if (sqlite3_open(":memory:", &d) != SQLITE_OK ||
        sqlite3_exec(d, "CREATE TABLE enci(id INTEGER, title TEXT, a TEXT)", nullptr, nullptr,
                     nullptr) != SQLITE_OK) {
      std::abort();
    }
    return d;
  }();
  return db;
}

// The string literals of a statement as the library compiled them.
std::vector<std::string> Literals(const std::string& statement) {
  sqlite3* db = Database();
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, statement.c_str(), static_cast<int>(statement.size()), &stmt, &tail) !=
          SQLITE_OK ||
      stmt == nullptr) {
    Fail(std::string("not one valid statement: ") + sqlite3_errmsg(db), statement);
  }
  sqlite3_finalize(stmt);
  for (const char* p = tail; p < statement.c_str() + statement.size(); ++p) {
    if (*p != ' ') Fail("text after the statement", statement);
  }
  const std::string explain = "EXPLAIN " + statement;
  if (sqlite3_prepare_v2(db, explain.c_str(), static_cast<int>(explain.size()), &stmt, nullptr) !=
      SQLITE_OK) {
    Fail("cannot explain", statement);
  }
  std::vector<std::string> out;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    const auto* opcode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    if (opcode == nullptr || std::string_view(opcode) != "String8") continue;
    const auto* p4 = static_cast<const char*>(sqlite3_column_blob(stmt, 5));
    out.emplace_back(
        p4 == nullptr ? ""
                      : std::string(p4, static_cast<std::size_t>(sqlite3_column_bytes(stmt, 5))));
  }
  sqlite3_finalize(stmt);
  return out;
}

void Expect(const std::string& statement, const std::string& literal) {
  const std::vector<std::string> found = Literals(statement);
  if (found.size() != 1 || found[0] != literal) Fail("the literal does not read back", statement);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The window leaves NUL characters out of what it searches for.
  std::string text(reinterpret_cast<const char*>(data), size);
  std::erase(text, '\0');
  using search::TQuickMode;
  Expect(search::IncrementalStatement(text), text + "%");
  Expect(search::QuickStatement(TQuickMode::WordStart, text), text + "%");
  Expect(search::QuickStatement(TQuickMode::WordEnd, text), "%" + text);
  Expect(search::QuickStatement(TQuickMode::Fuzzy, text), "%" + text + "%");
  Expect(search::QuickStatement(TQuickMode::Exact, text), text);
  Expect(search::EntryStatement(text), text);
  return 0;
}
