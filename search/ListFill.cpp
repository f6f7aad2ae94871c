#include "search/ListFill.h"

#include "search/Query.h"
#include "store/StoreTable.h"

namespace search {

std::string CutBytes(std::string_view value, std::size_t width) {
  return std::string(value.substr(0, width));
}

std::vector<TFoundRow> ReadFoundRows(TSQLiteTable& table) {
  std::vector<TFoundRow> found;
  if (table.Count() == 0) return found;
  const int idField = table.FieldIndex("id");
  const int titleField = table.FieldIndex("title");
  found.reserve(static_cast<std::size_t>(table.Count()));
  for (; !table.Eof(); table.Next()) {
    found.push_back({table.FieldAsString(idField), table.FieldAsString(titleField)});
  }
  return found;
}

TListFill BuildListFill(const std::vector<TFoundRow>& rows, std::string_view searchTerm) {
  TListFill fill;
  const std::string term = TrimBlank(searchTerm);
  std::string firstId;
  std::string exactId;
  fill.ids.reserve(rows.size());
  fill.words.reserve(rows.size());
  for (const auto& row : rows) {
    if (firstId.empty()) firstId = row.id;
    fill.ids.push_back(CutBytes(row.id, kIdWidth));
    // " " + title, cut, without the whole title copied first.
    std::string& word = fill.words.emplace_back(1, ' ');
    word.append(row.title, 0, kWordWidth - 1);
    // A later equal headword wins over an earlier one.
    if (row.title == term) exactId = row.id;
  }
  fill.entryId = exactId.empty() ? firstId : exactId;
  return fill;
}

}  // namespace search
