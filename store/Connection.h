#pragma once

// Setup shared by every connection the store layer makes, readers and writers alike.

struct sqlite3;

namespace store {

// Sets the keyed-file form (fast key derivation, 4096-byte pages, no HMAC) process-wide, and
// turns the library's memory statistics off when it is the library's first use.
// Runs once; every call before a connection is keyed is cheap after the first.
void EnsureCipherForm();

// False when a keyed connection's file does not decrypt in that form: a store written in
// another form, or no store at all. Errors other than that one count as true.
bool ReadsInCurrentForm(sqlite3* db);

// Reads and writes the keyed connection's file with a per-page HMAC, the form stores had
// before; call before its first statement.
void UsePageHmac(sqlite3* db);

// Installs the GBK-aware two-argument like() on the connection.
void RegisterGbkLike(sqlite3* db);

}  // namespace store
