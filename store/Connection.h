#pragma once

// Setup shared by every connection the store layer makes, readers and writers alike.

struct sqlite3;

namespace store {

// Sets the keyed-file form (fast key derivation, 4096-byte pages, HMAC on) process-wide, and
// turns the library's memory statistics off when it is the library's first use.
// Runs once; every call before a connection is keyed is cheap after the first.
void EnsureCipherForm();

// Installs the GBK-aware two-argument like() on the connection.
void RegisterGbkLike(sqlite3* db);

}  // namespace store
