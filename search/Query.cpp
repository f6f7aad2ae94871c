#include "search/Query.h"

namespace search {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string TrimBlank(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string SqlLiteralText(std::string_view text) {
  // A quote byte (0x27) is never the second half of a GBK character, so a byte scan is safe.
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string RowLimit(std::string_view text) { return text.size() < 2 ? "800" : "10000"; }

std::string IncrementalStatement(std::string_view text) {
  return QuickStatement(TQuickMode::WordStart, text);
}

std::string QuickStatement(TQuickMode mode, std::string_view text) {
  const std::string t = SqlLiteralText(text);
  const std::string limit = RowLimit(text);
  switch (mode) {
    case TQuickMode::WordStart:
      return "SELECT * FROM enci where title like '" + t + "%' order by id asc limit " + limit;
    case TQuickMode::WordEnd:
      return "select * from enci where title like '%" + t + "' order by id asc  limit " + limit;
    case TQuickMode::Fuzzy:
      return "select * from enci where title like '%" + t + "%' order by id asc limit  " + limit;
    case TQuickMode::Exact:
      return "select * from enci where title = '" + t + "' order by id asc ";
  }
  return {};
}

std::string EntryStatement(std::string_view id) {
  return "SELECT * FROM enci where id='" + SqlLiteralText(id) + "' limit 1";
}

}  // namespace search
