#pragma once

// What one fill of the result list puts into the list and which entry it shows.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TSQLiteTable;

namespace search {

// Field widths of the list, in bytes of GBK text.
inline constexpr std::size_t kIdWidth = 8;
inline constexpr std::size_t kWordWidth = 25;

// The first width bytes of value; the cut may fall inside a double-byte character.
std::string CutBytes(std::string_view value, std::size_t width);

struct TFoundRow {
  std::string id;
  std::string title;
};

// The id and title of every row of a word index result, from its current row on.
std::vector<TFoundRow> ReadFoundRows(TSQLiteTable& table);

struct TListFill {
  std::vector<std::string> ids;    // id field of each list row, in table order
  std::vector<std::string> words;  // the "单词" field: " " + title, cut
  std::string entryId;             // the entry to show
};

// The list rows for the rows found, and the entry to show: the last row whose title equals
// the trimmed search term byte for byte, else the first row. rows must not be empty.
TListFill BuildListFill(const std::vector<TFoundRow>& rows, std::string_view searchTerm);

}  // namespace search
