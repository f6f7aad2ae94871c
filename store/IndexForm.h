#pragma once

// The word index store's schema, statement by statement, as the store writer writes it. A
// reader that finds exactly these texts in a store's schema knows what each index holds and
// may let its look-ups use them; a store of any other form gets the plain statements.

#include <optional>
#include <string>
#include <string_view>

#include "store/GbkChars.h"

namespace store {

inline constexpr const char* kIndexTableSql =
    "CREATE TABLE enci(id INTEGER PRIMARY KEY, title TEXT)";
inline constexpr const char* kTitleIndexSql = "CREATE INDEX enci_title ON enci(title)";
// The first character with its case folded. All headwords of one first letter share a key,
// and equal keys keep rowid (= id) order, so a one-letter search reads its rows in list order
// and stops at its limit.
inline constexpr const char* kFirstCharIndexSql =
    "CREATE INDEX enci_first ON enci(upper(substr(title,1,1)))";
// Every headword with its GBK characters in reverse order (gbk::ReverseChars): a word end
// becomes a prefix. The title rides along, so a word end reads its rows here and never has
// to visit the rows of enci, which lie scattered over the whole table.
inline constexpr const char* kReversedTableSql =
    "CREATE TABLE enci_reversed(rtitle TEXT, id INTEGER, title TEXT, PRIMARY KEY(rtitle, id)) "
    "WITHOUT ROWID";
// The same without the titles, as stores written before them hold it.
inline constexpr const char* kReversedIdsTableSql =
    "CREATE TABLE enci_reversed(rtitle TEXT, id INTEGER, PRIMARY KEY(rtitle, id)) WITHOUT ROWID";

// For every trigram of the headwords (store/Trigrams.h), the ids of those that hold it, in
// ascending order (store::EncodeIds): a fuzzy search reads the few candidates of a rare run
// of characters instead of every headword.
inline constexpr const char* kTrigramTableSql =
    "CREATE TABLE enci_trigrams(gram BLOB PRIMARY KEY, ids BLOB) WITHOUT ROWID";

// For every start of kMinSpanPrefix to kMaxSpanPrefix one-byte characters that headwords
// begin with (its letters upper-cased, SpanKey): the least and greatest id of those headwords and
// their number. A short word start learns the run of ids its matches lie in from one row
// instead of counting every candidate in enci_title.
inline constexpr const char* kPrefixSpanTableSql =
    "CREATE TABLE enci_spans(prefix TEXT PRIMARY KEY, lo INTEGER, hi INTEGER, n INTEGER) "
    "WITHOUT ROWID";
inline constexpr std::size_t kMinSpanPrefix = 2;
inline constexpr std::size_t kMaxSpanPrefix = 3;

// The key of the first n bytes of text in enci_spans: those bytes with ASCII letters upper-
// cased, as the like folds them; nothing when text is shorter or one of them is 0x80 or above
// (a byte of a double-byte character, which no one-byte start matches).
inline std::optional<std::string> SpanKey(std::string_view text, std::size_t n) {
  if (text.size() < n) return std::nullopt;
  std::string key(text.substr(0, n));
  for (char& c : key) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) return std::nullopt;
    c = static_cast<char>(gbk::UpperAscii(b));
  }
  return key;
}

}  // namespace store
