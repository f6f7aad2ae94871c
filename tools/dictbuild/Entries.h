#pragma once

// Turns the open data into dictionary rows: headwords and their entries in the store's
// markup (UTF-8 here; the caller encodes them as GBK).

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/dictbuild/Ecdict.h"
#include "tools/dictbuild/Sources.h"

namespace enci {

struct SourceData {
  WordNet wordnet;
  Exceptions exceptions;
  std::unordered_map<std::string, std::string> pronunciations;  // CMUdict
  std::vector<CedictEntry> cedict;
  std::vector<EcdictEntry> ecdict;
};

struct Row {
  std::string title;  // UTF-8
  std::string entry;  // UTF-8 entry markup
};

struct Counts {
  std::size_t english = 0;
  std::size_t chinese = 0;
  std::size_t skippedHeadwords = 0;  // no GBK form, or unsafe in a page
  std::size_t droppedTexts = 0;      // senses, examples and forms with no GBK form
  std::size_t duplicateHeadwords =
      0;                   // CEDICT headwords in Latin letters equal to an English one, left out
  std::size_t merged = 0;  // English headwords both ECDICT and WordNet give
  std::size_t ecdictOnly = 0;        // English headwords only ECDICT gives
  std::size_t formHeadwords = 0;     // word forms no source gives as a headword, added
  std::size_t formLinks = 0;         // "go 的过去式" lines leading a form to its word
  std::size_t traditional = 0;       // traditional forms added as headwords
  std::size_t traditionalLinks = 0;  // lines leading a traditional form to its simplified one
};

// English rows in case-insensitive alphabetical order, then Chinese rows in GBK byte
// order. Fills counts.
std::vector<Row> BuildRows(const SourceData& data, Counts& counts);

}  // namespace enci
