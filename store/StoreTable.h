#pragma once

// A thin object layer over the SQLite C interface. All text is 8-bit (GBK) bytes, passed to
// and returned from the library unchanged.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Every failure of the store layer.
class ESQLiteException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSQLiteTable;

// The current row of a statement being read by TSQLiteDatabase::ForEachRow; valid only
// during the call it is passed to.
class TSQLiteRow {
 public:
  std::int64_t Integer(int I) const;
  // The column's bytes, all of them, as the library's text; nothing for NULL.
  std::optional<std::string_view> Text(int I) const;

 private:
  friend class TSQLiteDatabase;
  explicit TSQLiteRow(sqlite3_stmt* Stmt) : stmt_(Stmt) {}
  sqlite3_stmt* stmt_;
};

// One connection to one database file. Opened read-only; never creates a file. Its like()
// matches GBK text (store/GbkLike.h) instead of the library's UTF-8 one.
class TSQLiteDatabase {
 public:
  // Opens FileName (bytes as given, relative to the current directory) and applies Key
  // (nullptr for none). Raises ESQLiteException when the open fails.
  TSQLiteDatabase(const std::string& FileName, const char* Key);
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase&) = delete;
  TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

  // Runs the first statement of SQL and returns every row; the caller owns the table.
  std::unique_ptr<TSQLiteTable> GetTable(const std::string& SQL);

  // Runs the first statement of SQL and hands its rows to Row one by one, as they are read,
  // until Row returns false or the rows end: for results too large to hold as a table.
  void ForEachRow(const std::string& SQL, const std::function<bool(const TSQLiteRow&)>& Row);

  // Raises a composed ESQLiteException when the library reports an error; returns otherwise.
  void RaiseError(const std::string& Msg, const std::string& SQL);

 private:
  friend class TSQLiteTable;
  // Opens the file into handle_ and applies Key, reading it with a per-page HMAC when pageHmac
  // is set; on failure handle_ stays null and this throws.
  void Open(const std::string& FileName, const char* Key, bool pageHmac);
  void Close();
  // Prepares SQL into Stmt, which the caller owns even when this throws; Stmt stays null for
  // a text without a statement.
  void Prepare(const std::string& SQL, sqlite3_stmt*& Stmt);
  // Raises the error of a step that returned Rc.
  [[noreturn]] void StepFailed(int Rc, sqlite3_stmt* Stmt, const std::string& SQL);

  sqlite3* handle_ = nullptr;
};

// Column kinds: the library's fundamental type codes.
enum : int { kKindInteger = 1, kKindFloat = 2, kKindText = 3, kKindBlob = 4, kKindNull = 5 };

// The complete result of one query, held in memory. Readable after its connection is gone.
class TSQLiteTable {
 public:
  TSQLiteTable(TSQLiteDatabase& DB, const std::string& SQL);

  int Count() const { return count_; }
  int ColCount() const { return colCount_; }
  bool Eof() const { return row_ >= count_; }
  bool Next();
  // Makes row (0 = first; Count() = past the last) the current one.
  void MoveTo(int Row);

  int FieldIndex(const std::string& Name) const;
  std::string FieldAsString(int I) const;
  std::string Fields(int I) const;
  std::int64_t FieldAsInteger(int I) const;
  double FieldAsDouble(int I) const;
  // The table's own bytes (the caller must not free them); nullptr for NULL or empty.
  const std::string* FieldAsBlob(int I) const;
  std::string FieldAsBlobText(int I) const;

  const std::vector<std::string>& ColumnNames() const { return columnNames_; }
  const std::vector<int>& ColumnKinds() const { return columnKinds_; }

 private:
  struct Blob {
    std::string bytes;
  };
  // monostate stands for SQL NULL (and for an empty BLOB).
  using Value = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;
  const Value& Current(int I) const;

  std::vector<Value> values_;
  int count_ = 0;
  int colCount_ = 0;
  std::vector<std::string> columnNames_;
  std::vector<int> columnKinds_;
  int row_ = 0;
};
