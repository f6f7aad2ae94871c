#include "store/StoreTable.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "store/Connection.h"
#include "store/GbkChars.h"
#include "store/StoreCodes.h"

namespace {

// Upper-cases ASCII letters but leaves double-byte GBK characters whole: their trail
// byte may fall in a-z.
std::string UpperGbk(const std::string& s) {
  std::string out = s;
  for (std::size_t i = 0; i < out.size(); i += gbk::CharLen(out, i)) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

int KindOfDeclared(const char* decl, int firstType) {
  if (decl == nullptr) return firstType;
  const std::string_view d(decl);
  if (d == "INTEGER" || d == "BOOLEAN") return kKindInteger;
  if (d == "NUMERIC" || d == "FLOAT" || d == "DOUBLE" || d == "REAL") return kKindFloat;
  if (d == "BLOB") return kKindBlob;
  return kKindText;
}

// General float format: up to 15 significant digits, no trailing zeros, scientific only
// below 0.00001 or with more than 15 digits before the point.
std::string FormatGeneral(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
  // buf: d.dddddddddddddde[+-]x
  std::string digits;
  digits += buf[0];
  digits.append(buf + 2, 14);
  const int exp = std::atoi(std::strchr(buf, 'e') + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = v < 0 ? "-" : "";
  if (exp >= 15 || exp < -5) {
    out += digits[0];
    if (digits.size() > 1) out.append(".").append(digits, 1);
    out.append("E").append(std::to_string(exp));
  } else if (exp >= 0) {
    const auto intLen = static_cast<std::size_t>(exp) + 1;
    if (digits.size() <= intLen) {
      out += digits + std::string(intLen - digits.size(), '0');
    } else {
      out += digits.substr(0, intLen) + "." + digits.substr(intLen);
    }
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
  }
  return out;
}

// Truncates toward zero; values beyond the 64-bit range are clamped rather than left
// to undefined behaviour.
std::int64_t TruncToInt64(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (v >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (v < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

// Finalizes the statement on every path out of a query.
struct StatementGuard {
  sqlite3_stmt* stmt = nullptr;
  ~StatementGuard() {
    if (stmt != nullptr) sqlite3_finalize(stmt);
  }
};

}  // namespace

TSQLiteDatabase::TSQLiteDatabase(const std::string& FileName, const char* Key) {
  store::EnsureCipherForm();
  Open(FileName, Key, false);
  // A keyed store written before the index dropped its page HMAC reads in that older form.
  // Anything else that does not decrypt keeps failing as before, at its first statement.
  if (Key != nullptr && !store::ReadsInCurrentForm(handle_)) {
    Close();
    Open(FileName, Key, true);
  }
}

void TSQLiteDatabase::Open(const std::string& FileName, const char* Key, bool pageHmac) {
  // Read-only and never creating: a missing store must not leave an empty file behind.
  // A connection lives and dies on the thread that opened it, so it needs no mutex of its own:
  // the library would otherwise lock it on every call, for every row read.
  const int rc = sqlite3_open_v2(FileName.c_str(), &handle_,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = "Failed to open database \"" + FileName + "\" : ";
    if (handle_ == nullptr) {
      message += "unknown error";
    } else {
      message += sqlite3_errmsg(handle_);
      Close();
    }
    throw ESQLiteException(message);
  }
  // Only the first four bytes of the key are ever used; the stores are written that way.
  sqlite3_key(handle_, Key, 4);
  try {
    if (pageHmac) store::UsePageHmac(handle_);
    store::RegisterGbkLike(handle_);
  } catch (...) {
    Close();
    throw;
  }
}

void TSQLiteDatabase::Close() {
  if (handle_ != nullptr) sqlite3_close(handle_);
  handle_ = nullptr;
}

TSQLiteDatabase::~TSQLiteDatabase() { Close(); }

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::GetTable(const std::string& SQL) {
  return std::make_unique<TSQLiteTable>(*this, SQL);
}

void TSQLiteDatabase::RaiseError(const std::string& Msg, const std::string& /*SQL*/) {
  const int code = sqlite3_errcode(handle_);
  if (code == 0) return;
  const char* text = sqlite3_errmsg(handle_);
  if (text == nullptr) return;
  throw ESQLiteException(Msg + ".\rError [" + std::to_string(code) + "]: " + SQLiteErrorText(code) +
                         ".\r\"error\": " + text);
}

void TSQLiteDatabase::Prepare(const std::string& SQL, sqlite3_stmt*& Stmt) {
  const int prc = sqlite3_prepare_v2(handle_, SQL.c_str(), -1, &Stmt, nullptr);
  // A fresh connection reads the schema while preparing, so a writer's lock shows up here
  // first; it is the same busy store as one met while stepping.
  if (prc == SQLITE_BUSY) throw ESQLiteException("Could not prepare SQL statement");
  if (prc != SQLITE_OK) RaiseError("Error executing SQL", SQL);
  // A text without any statement (empty, blanks, a comment) has nothing to run.
  if (Stmt == nullptr) RaiseError("Could not prepare SQL statement", SQL);
}

void TSQLiteDatabase::StepFailed(int Rc, sqlite3_stmt* Stmt, const std::string& SQL) {
  if (Rc == SQLITE_BUSY) throw ESQLiteException("Could not prepare SQL statement");
  sqlite3_reset(Stmt);
  RaiseError("Could not retrieve data", SQL);
  // The library gave no error to report; stop rather than step the failing statement
  // forever.
  throw ESQLiteException("Could not retrieve data");
}

void TSQLiteDatabase::ForEachRow(const std::string& SQL,
                                 const std::function<bool(const TSQLiteRow&)>& Row) {
  StatementGuard guard;
  Prepare(SQL, guard.stmt);
  if (guard.stmt == nullptr) return;
  const TSQLiteRow row(guard.stmt);
  for (int rc = sqlite3_step(guard.stmt); rc != SQLITE_DONE; rc = sqlite3_step(guard.stmt)) {
    if (rc != SQLITE_ROW) StepFailed(rc, guard.stmt, SQL);
    if (!Row(row)) return;
  }
}

std::int64_t TSQLiteRow::Integer(int I) const { return sqlite3_column_int64(stmt_, I); }

std::optional<std::string_view> TSQLiteRow::Text(int I) const {
  // Text first, then its length: the conversion may move the bytes.
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, I));
  if (text == nullptr) return std::nullopt;
  return std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, I)));
}

TSQLiteTable::TSQLiteTable(TSQLiteDatabase& DB, const std::string& SQL) {
  StatementGuard guard;
  DB.Prepare(SQL, guard.stmt);
  if (guard.stmt == nullptr) return;
  sqlite3_stmt* stmt = guard.stmt;
  int rc = sqlite3_step(stmt);
  while (rc != SQLITE_DONE) {
    if (rc == SQLITE_ROW) {
      ++count_;
      if (count_ == 1) {
        colCount_ = sqlite3_column_count(stmt);
        columnNames_.reserve(static_cast<std::size_t>(colCount_));
        for (int i = 0; i < colCount_; ++i) {
          const char* name = sqlite3_column_name(stmt, i);
          columnNames_.push_back(UpperGbk(name != nullptr ? name : ""));
        }
        for (int i = 0; i < colCount_; ++i) {
          columnKinds_.push_back(
              KindOfDeclared(sqlite3_column_decltype(stmt, i), sqlite3_column_type(stmt, i)));
        }
      }
      for (int i = 0; i < colCount_; ++i) {
        if (sqlite3_column_type(stmt, i) == SQLITE_NULL) {
          values_.emplace_back(std::monostate{});
          continue;
        }
        switch (columnKinds_[static_cast<std::size_t>(i)]) {
          case kKindInteger:
            values_.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(stmt, i)));
            break;
          case kKindFloat:
            values_.emplace_back(sqlite3_column_double(stmt, i));
            break;
          case kKindBlob: {
            const void* bytes = sqlite3_column_blob(stmt, i);
            const int n = sqlite3_column_bytes(stmt, i);
            if (n <= 0 || bytes == nullptr) {
              values_.emplace_back(std::monostate{});
            } else {
              values_.emplace_back(
                  Blob{std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(n))});
            }
            break;
          }
          default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            values_.emplace_back(std::string(text != nullptr ? text : ""));
            break;
          }
        }
      }
    } else {
      DB.StepFailed(rc, stmt, SQL);
    }
    rc = sqlite3_step(stmt);
  }
  row_ = 0;
}

bool TSQLiteTable::Next() {
  if (Eof()) return false;
  ++row_;
  return true;
}

void TSQLiteTable::MoveTo(int Row) {
  if (Row < 0 || Row > count_) throw ESQLiteException("No row " + std::to_string(Row));
  row_ = Row;
}

int TSQLiteTable::FieldIndex(const std::string& Name) const {
  if (columnNames_.empty()) throw ESQLiteException("Field " + Name + " Not found. Empty dataset");
  const std::string upper = UpperGbk(Name);
  for (std::size_t i = 0; i < columnNames_.size(); ++i) {
    if (columnNames_[i] == upper) return static_cast<int>(i);
  }
  throw ESQLiteException("Field not found in dataset: " + Name);
}

const TSQLiteTable::Value& TSQLiteTable::Current(int I) const {
  if (Eof()) throw ESQLiteException("Table is at End of File");
  return values_[static_cast<std::size_t>(row_) * static_cast<std::size_t>(colCount_) +
                 static_cast<std::size_t>(I)];
}

std::string TSQLiteTable::FieldAsString(int I) const {
  if (std::holds_alternative<std::monostate>(Current(I))) return "";
  return Fields(I);
}

std::string TSQLiteTable::Fields(int I) const {
  const Value& v = Current(I);
  switch (columnKinds_[static_cast<std::size_t>(I)]) {
    case kKindInteger:
      return std::to_string(FieldAsInteger(I));
    case kKindFloat:
      return FormatGeneral(FieldAsDouble(I));
    case kKindText:
      return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : std::string();
    case kKindBlob:
      return FieldAsBlobText(I);
    default:
      return "";
  }
}

std::int64_t TSQLiteTable::FieldAsInteger(int I) const {
  const Value& v = Current(I);
  if (std::holds_alternative<std::monostate>(v)) return 0;
  switch (columnKinds_[static_cast<std::size_t>(I)]) {
    case kKindInteger:
      return std::get<std::int64_t>(v);
    case kKindFloat:
      return TruncToInt64(std::get<double>(v));
    default:
      throw ESQLiteException("Not an integer or numeric field");
  }
}

double TSQLiteTable::FieldAsDouble(int I) const {
  const Value& v = Current(I);
  if (std::holds_alternative<std::monostate>(v)) return 0;
  switch (columnKinds_[static_cast<std::size_t>(I)]) {
    case kKindInteger:
      return static_cast<double>(std::get<std::int64_t>(v));
    case kKindFloat:
      return std::get<double>(v);
    default:
      throw ESQLiteException("Not an integer or numeric field");
  }
}

const std::string* TSQLiteTable::FieldAsBlob(int I) const {
  const Value& v = Current(I);
  if (std::holds_alternative<std::monostate>(v)) return nullptr;
  if (columnKinds_[static_cast<std::size_t>(I)] != kKindBlob) {
    throw ESQLiteException("Not a Blob field");
  }
  return &std::get<Blob>(v).bytes;
}

std::string TSQLiteTable::FieldAsBlobText(int I) const {
  const std::string* bytes = FieldAsBlob(I);
  return bytes != nullptr ? *bytes : std::string();
}
