#pragma once

// The SQL statements of the search and the result list, built from the user's GBK text.

#include <string>
#include <string_view>

namespace search {

// Removes every leading and trailing byte up to and including 0x20; bytes of 0x80 and above
// (halves of double-byte characters, a full-width space) always stay.
std::string TrimBlank(std::string_view text);

// The text as the inside of an SQL string literal: every single quote doubled, so that no
// text can end the literal early or add to the statement.
std::string SqlLiteralText(std::string_view text);

// "800" for a text under 2 bytes, else "10000".
std::string RowLimit(std::string_view text);

// The quick search modes, one per radio button r1..r4.
enum class TQuickMode { WordStart, WordEnd, Fuzzy, Exact };

// The statement of the incremental search for a trimmed text.
std::string IncrementalStatement(std::string_view text);
// The statement of the quick search in mode for a trimmed text.
std::string QuickStatement(TQuickMode mode, std::string_view text);
// The one-row look-up of an entry by its id.
std::string EntryStatement(std::string_view id);

}  // namespace search
