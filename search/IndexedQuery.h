#pragma once

// The search statements as they run. Where the word index carries the indexes of the store
// writer (store/IndexForm.h), a word-start or word-end statement of Query.h is replaced by one
// that reaches the same rows, in the same order, through an index instead of a scan of every
// headword; the written like stays as the last filter, so the index only has to narrow.

#include <string>
#include <string_view>
#include <vector>

#include "search/ListFill.h"

class TSQLiteDatabase;

namespace search {

// What a word index offers beyond its table. All false for a store of any other form.
struct TIndexForm {
  bool titleIndex = false;          // enci_title over an enci of the writer's form
  bool firstCharIndex = false;      // enci_first
  bool reversedTitles = false;      // enci_reversed
  bool reversedWithTitles = false;  // and it holds the titles too
  bool trigrams = false;            // enci_trigrams
  bool prefixSpans = false;         // enci_spans
};

// Reads the store's schema (one small query).
TIndexForm ReadIndexForm(TSQLiteDatabase& db);

// The statement to run in place of statement. Anything this cannot prove equivalent (other
// statements, a text that starts with a wildcard, a form without the index) comes back as is.
std::string IndexedStatement(std::string_view statement, const TIndexForm& form);

// The statement to run on db in place of statement: the store's form read, a short word start
// whose candidates lie in a short run of ids read as that run (no sort), and a word end with
// so many candidates that the written scan, which stops at its limit, is quicker left as
// written.
std::string IndexedStatement(TSQLiteDatabase& db, std::string_view statement);
// The same on db taken to be of form, which must not claim more than db holds.
std::string IndexedStatement(TSQLiteDatabase& db, std::string_view statement,
                             const TIndexForm& form);

// The rows of a list statement of Query.h on db, as ReadFoundRows reads them from the
// statement's own table: the indexed statement's rows; for a word end on a store whose
// reversed titles hold the titles, the matches read there alone and put in id order here
// (SQLite's sorter takes several times as long for the same order); for a fuzzy search with a
// run of three literal characters on a store with trigrams, the rows of the ids that hold
// every trigram of the text, looked up in id order until the limit is reached.
std::vector<TFoundRow> FindRows(TSQLiteDatabase& db, std::string_view statement);

}  // namespace search
