#include "tools/dictbuild/Ecdict.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace enci {
namespace {

std::string Unescape(const std::string& s) {
  if (s.find('\\') == std::string::npos) return s;
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char next = s[i + 1];
      if (next == 'n') {
        out.push_back('\n');
        ++i;
        continue;
      }
      if (next == 'r') {
        ++i;
        continue;
      }
      if (next == '\\') {
        out.push_back('\\');
        ++i;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

int Int(const std::string& s) {
  int v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() ? v : 0;
}

}  // namespace

void ForEachCsvRow(std::string_view bytes,
                   const std::function<void(std::vector<std::string>&)>& row) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  bool any = false;  // the row has begun
  std::size_t i = 0;
  auto endRow = [&] {
    fields.push_back(std::move(field));
    field.clear();
    row(fields);
    fields.clear();
    any = false;
  };
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
          field.push_back('"');
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field.push_back(c);
      }
      ++i;
      continue;
    }
    if (c == '"' && field.empty()) {
      quoted = true;
      any = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
      any = true;
    } else if (c == '\n' || (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
      if (c == '\r') ++i;
      if (any || !field.empty()) endRow();
    } else {
      field.push_back(c);
      any = true;
    }
    ++i;
  }
  if (any || !field.empty()) endRow();
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view bytes) {
  std::vector<std::vector<std::string>> rows;
  ForEachCsvRow(bytes, [&rows](std::vector<std::string>& r) { rows.push_back(std::move(r)); });
  return rows;
}

std::vector<EcdictEntry> ParseEcdict(std::string_view csv) {
  std::vector<EcdictEntry> out;
  bool header = true;
  int word = -1, phonetic = -1, definition = -1, translation = -1, tag = -1, exchange = -1,
      collins = -1, oxford = -1, bnc = -1, frq = -1;
  ForEachCsvRow(csv, [&](std::vector<std::string>& r) {
    if (header) {
      header = false;
      for (std::size_t k = 0; k < r.size(); ++k) {
        const std::string& name = r[k];
        const int n = static_cast<int>(k);
        if (name == "word") word = n;
        if (name == "phonetic") phonetic = n;
        if (name == "definition") definition = n;
        if (name == "translation") translation = n;
        if (name == "tag") tag = n;
        if (name == "exchange") exchange = n;
        if (name == "collins") collins = n;
        if (name == "oxford") oxford = n;
        if (name == "bnc") bnc = n;
        if (name == "frq") frq = n;
      }
      if (word < 0) throw std::runtime_error("no word column in the ECDICT header");
      return;
    }
    auto at = [&r](int k) -> std::string {
      return k >= 0 && static_cast<std::size_t>(k) < r.size() ? std::move(r[k]) : std::string();
    };
    EcdictEntry e;
    e.word = at(word);
    while (!e.word.empty() && e.word.back() == ' ') e.word.pop_back();
    while (!e.word.empty() && e.word.front() == ' ') e.word.erase(0, 1);
    if (e.word.empty()) return;
    e.phonetic = Unescape(at(phonetic));
    e.definition = Unescape(at(definition));
    e.translation = Unescape(at(translation));
    e.tags = at(tag);
    e.exchange = at(exchange);
    e.collins = Int(at(collins));
    e.oxford = Int(at(oxford)) > 0;
    e.bnc = Int(at(bnc));
    e.frq = Int(at(frq));
    out.push_back(std::move(e));
  });
  return out;
}

std::vector<EcdictEntry> ReadEcdict(const std::filesystem::path& csvFile) {
  std::ifstream in(csvFile, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + csvFile.string());
  std::ostringstream ss;
  ss << in.rdbuf();
  auto entries = ParseEcdict(ss.str());
  if (entries.empty()) throw std::runtime_error("no entries in " + csvFile.string());
  return entries;
}

std::vector<std::pair<char, std::string>> ParseExchange(std::string_view exchange) {
  std::vector<std::pair<char, std::string>> out;
  std::size_t start = 0;
  while (start < exchange.size()) {
    std::size_t end = exchange.find('/', start);
    if (end == std::string_view::npos) end = exchange.size();
    const std::string_view item = exchange.substr(start, end - start);
    if (item.size() > 2 && item[1] == ':') out.emplace_back(item[0], std::string(item.substr(2)));
    start = end + 1;
  }
  return out;
}

}  // namespace enci
