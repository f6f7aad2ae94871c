#pragma once

// The word index store's schema, statement by statement, as the store writer writes it. A
// reader that finds exactly these texts in a store's schema knows what each index holds and
// may let its look-ups use them; a store of any other form gets the plain statements.

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

}  // namespace store
