#include "store/Connection.h"

#include <sqlite3.h>

#include <mutex>
#include <string>
#include <string_view>

#include "store/GbkLike.h"
#include "store/StoreTable.h"

namespace store {
namespace {

// The key ships inside the program, so slow key derivation would protect nothing and
// only cost every keyed open tens of milliseconds. For the same reason a per-page HMAC
// guards against no tampering, while hashing every page read costs a fifth of a long read;
// damage is left to the library's own checks, as in the entry store, which has no key.
constexpr const char* kCipherForm =
    "PRAGMA cipher_default_kdf_iter = 1;"
    "PRAGMA cipher_default_page_size = 4096;"
    "PRAGMA cipher_default_use_hmac = OFF;";

void ApplyCipherForm() {
  // Nothing reads the library's memory statistics, and keeping them takes a global lock on
  // every allocation. This only takes effect before the library's first use; where something
  // else used it first, the statistics stay on and everything works as before.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
  std::string error;
  if (rc == SQLITE_OK) {
    char* msg = nullptr;
    rc = sqlite3_exec(db, kCipherForm, nullptr, nullptr, &msg);
    if (msg != nullptr) {
      error = msg;
      sqlite3_free(msg);
    }
  } else if (db != nullptr) {
    error = sqlite3_errmsg(db);
  }
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw ESQLiteException("Could not set the store cipher form: " + error);
}

void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
      sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  // Text first, then its length: the conversion may move the bytes.
  const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const int patternLen = pattern != nullptr ? sqlite3_value_bytes(argv[0]) : 0;
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  const int textLen = text != nullptr ? sqlite3_value_bytes(argv[1]) : 0;
  const bool match = GbkLike(std::string_view(pattern, static_cast<std::size_t>(patternLen)),
                             std::string_view(text, static_cast<std::size_t>(textLen)));
  sqlite3_result_int(ctx, match ? 1 : 0);
}

}  // namespace

void EnsureCipherForm() {
  static std::once_flag once;
  std::call_once(once, ApplyCipherForm);
}

bool ReadsInCurrentForm(sqlite3* db) {
  // Reading the schema decrypts the first page; the first statement would read it anyway.
  return sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
         SQLITE_NOTADB;
}

void UsePageHmac(sqlite3* db) {
  if (sqlite3_exec(db, "PRAGMA cipher_use_hmac = ON", nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw ESQLiteException(std::string("Could not set the store cipher form: ") +
                           sqlite3_errmsg(db));
  }
}

void RegisterGbkLike(sqlite3* db) {
  const int rc = sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                         LikeFunction, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    throw ESQLiteException(std::string("Could not register like: ") + sqlite3_errmsg(db));
  }
}

}  // namespace store
