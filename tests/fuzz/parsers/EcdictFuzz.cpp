// The ECDICT reader: the CSV rows, the columns found by name, and the word-form field.
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/parsers/ParserFuzz.h"
#include "tools/dictbuild/Ecdict.h"

namespace {

// Rows written back the way a careful writer quotes every field; the reader must read the
// same rows from them.
std::string Written(const std::vector<std::vector<std::string>>& rows) {
  std::string csv;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) csv += ',';
      csv += '"';
      for (const char c : row[i]) {
        if (c == '"') csv += '"';
        csv += c;
      }
      csv += '"';
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = parserfuzz::Bytes(data, size);
  const auto rows = enci::ParseCsv(bytes);
  if (enci::ParseCsv(Written(rows)) != rows) std::abort();
  enci::ParseExchange(bytes);
  return parserfuzz::Refusing([&] { enci::ParseEcdict(bytes); });
}
