// The WordNet readers: the data and index files and the exception lists. The first byte picks
// the file that gets the rest of the input; the other files are empty.
#include <array>

#include "tests/fuzz/parsers/ParserFuzz.h"
#include "tools/dictbuild/Sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr std::array<const char*, 12> kFiles = {
      "data.noun", "data.verb", "data.adj", "data.adv", "index.noun", "index.verb",
      "index.adj", "index.adv", "noun.exc", "verb.exc", "adj.exc",    "adv.exc"};
  if (size == 0) return 0;
  const std::size_t chosen = data[0] % kFiles.size();
  for (std::size_t f = 0; f < kFiles.size(); ++f) {
    parserfuzz::Put(kFiles[f], f == chosen ? parserfuzz::Bytes(data + 1, size - 1) : "");
  }
  if (chosen < 8) return parserfuzz::Refusing([] { enci::ReadWordNet(parserfuzz::Folder()); });
  return parserfuzz::Refusing([] { enci::ReadExceptions(parserfuzz::Folder()); });
}
