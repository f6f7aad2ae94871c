#include "store/StoreWriter.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "store/Connection.h"
#include "store/GbkChars.h"
#include "store/IndexForm.h"
#include "store/StoreTable.h"
#include "store/Trigrams.h"
#include "store/gob.h"

namespace {

class Writer {
 public:
  Writer(const std::string& path, const char* key) : path_(path), temp_(path + ".part") {
    store::EnsureCipherForm();
    RemoveTemp();
    // No destructor runs for a constructor that throws: release here what it made.
    try {
      if (sqlite3_open_v2(temp_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                          nullptr) != SQLITE_OK) {
        Fail("open");
      }
      // The same call the reader makes, so the file opens under the key as the program
      // applies it.
      if (key != nullptr) sqlite3_key(db_, key, 4);
      // A half-written temporary file is thrown away, never recovered, so it needs no
      // journal and no syncs of its own; Finish syncs it once before it replaces the store.
      Exec("PRAGMA journal_mode = OFF");
      Exec("PRAGMA synchronous = OFF");
    } catch (...) {
      Release();
      throw;
    }
  }
  ~Writer() { Release(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
  }
  void Prepare(const char* sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail(sql);
  }
  void Insert(std::int64_t id, const std::string& text, const std::string* text2 = nullptr) {
    // The result list carries an entry number as text in an 8-byte field; a longer one
    // would come back cut and point at another entry.
    const std::string digits = std::to_string(id);
    if (digits.size() > 8) {
      throw ESQLiteException("Could not write store \"" + path_ + "\": entry number " + digits +
                             " is longer than 8 characters");
    }
    sqlite3_reset(stmt_);
    if (sqlite3_bind_int64(stmt_, 1, id) != SQLITE_OK ||
        sqlite3_bind_text(stmt_, 2, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) !=
            SQLITE_OK ||
        (text2 != nullptr &&
         sqlite3_bind_text(stmt_, 3, text2->data(), static_cast<int>(text2->size()),
                           SQLITE_STATIC) != SQLITE_OK) ||
        sqlite3_step(stmt_) != SQLITE_DONE) {
      Fail("insert of id " + std::to_string(id));
    }
  }
  void InsertBlobs(const std::string& first, const std::string& second) {
    sqlite3_reset(stmt_);
    if (sqlite3_bind_blob(stmt_, 1, first.data(), static_cast<int>(first.size()), SQLITE_STATIC) !=
            SQLITE_OK ||
        sqlite3_bind_blob(stmt_, 2, second.data(), static_cast<int>(second.size()),
                          SQLITE_STATIC) != SQLITE_OK ||
        sqlite3_step(stmt_) != SQLITE_DONE) {
      Fail("insert");
    }
  }
  void InsertSpan(const std::string& key, std::int64_t lo, std::int64_t hi, std::int64_t n) {
    sqlite3_reset(stmt_);
    if (sqlite3_bind_text(stmt_, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC) !=
            SQLITE_OK ||
        sqlite3_bind_int64(stmt_, 2, lo) != SQLITE_OK ||
        sqlite3_bind_int64(stmt_, 3, hi) != SQLITE_OK ||
        sqlite3_bind_int64(stmt_, 4, n) != SQLITE_OK || sqlite3_step(stmt_) != SQLITE_DONE) {
      Fail("insert of start " + key);
    }
  }
  // Closes the file and puts it in place of the old one.
  void Finish() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    if (sqlite3_close(db_) != SQLITE_OK) Fail("close");
    db_ = nullptr;
    SyncTemp();
    std::error_code ec;
    std::filesystem::rename(temp_, path_, ec);
    if (ec) {
      throw ESQLiteException("Could not write store \"" + path_ + "\": " + ec.message());
    }
    done_ = true;
  }

 private:
  [[noreturn]] void Fail(const std::string& step) {
    std::string message = "Could not write store \"" + path_ + "\" (" + step + "): ";
    message += db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    throw ESQLiteException(message);
  }
  void SyncTemp() {
    const int fd = ::open(temp_.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!synced) {
      throw ESQLiteException("Could not write store \"" + path_ + "\": " + std::strerror(errno));
    }
  }
  void Release() {
    if (stmt_ != nullptr) sqlite3_finalize(stmt_);
    if (db_ != nullptr) sqlite3_close(db_);
    stmt_ = nullptr;
    db_ = nullptr;
    if (!done_) RemoveTemp();
  }
  void RemoveTemp() {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    std::filesystem::remove(temp_ + "-journal", ec);
  }

  std::string path_;
  std::string temp_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  bool done_ = false;
};

}  // namespace

void WriteIndexStore(const std::string& path, const std::vector<IndexRow>& rows) {
  Writer w(path, IndexStoreKey);
  w.Exec(store::kIndexTableSql);
  w.Exec("BEGIN");
  w.Prepare("INSERT INTO enci(id, title) VALUES (?, ?)");
  for (const auto& r : rows) w.Insert(r.id, r.title);
  w.Exec("COMMIT");
  // Built after the rows go in: one sort instead of a b-tree grown row by row.
  w.Exec(store::kTitleIndexSql);
  w.Exec(store::kFirstCharIndexSql);

  struct TSpan {
    std::int64_t lo, hi, n;
  };
  std::map<std::string, TSpan> spans;
  for (const auto& r : rows) {
    for (std::size_t n = store::kMinSpanPrefix; n <= store::kMaxSpanPrefix; ++n) {
      const auto key = store::SpanKey(r.title, n);
      if (!key) break;
      TSpan& span = spans.try_emplace(*key, TSpan{r.id, r.id, 0}).first->second;
      span.lo = std::min(span.lo, r.id);
      span.hi = std::max(span.hi, r.id);
      ++span.n;
    }
  }
  w.Exec(store::kPrefixSpanTableSql);
  w.Exec("BEGIN");
  w.Prepare("INSERT INTO enci_spans(prefix, lo, hi, n) VALUES (?, ?, ?, ?)");
  for (const auto& [key, span] : spans) w.InsertSpan(key, span.lo, span.hi, span.n);
  w.Exec("COMMIT");

  // Inserted in key order, so the b-tree is written front to back.
  std::vector<std::pair<std::string, const IndexRow*>> reversed;
  reversed.reserve(rows.size());
  for (const auto& r : rows) reversed.emplace_back(gbk::ReverseChars(r.title), &r);
  std::sort(reversed.begin(), reversed.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second->id < b.second->id;
  });
  w.Exec(store::kReversedTableSql);
  w.Exec("BEGIN");
  w.Prepare("INSERT INTO enci_reversed(id, rtitle, title) VALUES (?, ?, ?)");
  for (const auto& [rtitle, row] : reversed) w.Insert(row->id, rtitle, &row->title);
  w.Exec("COMMIT");

  // Rows in id order, so every trigram's ids come out ascending.
  std::vector<const IndexRow*> byId;
  byId.reserve(rows.size());
  for (const auto& r : rows) byId.push_back(&r);
  std::sort(byId.begin(), byId.end(),
            [](const IndexRow* a, const IndexRow* b) { return a->id < b->id; });
  std::unordered_map<std::string, std::vector<std::int64_t>> holders;
  for (const IndexRow* r : byId) {
    for (auto& gram : store::Trigrams(r->title)) holders[std::move(gram)].push_back(r->id);
  }
  std::vector<std::pair<std::string, std::vector<std::int64_t>>> postings(
      std::make_move_iterator(holders.begin()), std::make_move_iterator(holders.end()));
  holders.clear();
  std::sort(postings.begin(), postings.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  w.Exec(store::kTrigramTableSql);
  w.Exec("BEGIN");
  w.Prepare("INSERT INTO enci_trigrams(gram, ids) VALUES (?, ?)");
  for (const auto& [gram, ids] : postings) w.InsertBlobs(gram, store::EncodeIds(ids));
  w.Exec("COMMIT");
  w.Finish();
}

void WriteEntryStore(const std::string& path, const std::vector<EntryRow>& rows) {
  Writer w(path, nullptr);
  w.Exec("CREATE TABLE enci(id INTEGER PRIMARY KEY, a TEXT)");
  w.Exec("BEGIN");
  w.Prepare("INSERT INTO enci(id, a) VALUES (?, ?)");
  for (const auto& r : rows) w.Insert(r.id, r.a);
  w.Exec("COMMIT");
  w.Finish();
}

void WriteDatabase(const std::string& path, const char* key, const std::string& script) {
  Writer w(path, key);
  w.Exec(script.c_str());
  w.Finish();
}
