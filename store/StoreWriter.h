#pragma once

// Writes the two dictionary stores in the form the program opens: the word index keyed,
// the entry store plain. Used by test fixtures and by the dictionary builder.

#include <cstdint>
#include <string>
#include <vector>

struct IndexRow {
  std::int64_t id;
  std::string title;  // GBK bytes
};
struct EntryRow {
  std::int64_t id;
  std::string a;  // GBK bytes, entry markup
};

// Each call replaces the file at path. Raises ESQLiteException on failure.
void WriteIndexStore(const std::string& path, const std::vector<IndexRow>& rows);
void WriteEntryStore(const std::string& path, const std::vector<EntryRow>& rows);

// Replaces the file at path with a database built by running script (any number of
// statements), keyed like the stores when key is not nullptr. For fixtures of other shapes.
void WriteDatabase(const std::string& path, const char* key, const std::string& script);
