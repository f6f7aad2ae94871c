// The CMUdict reader (the package's index.js).
#include "tests/fuzz/parsers/ParserFuzz.h"
#include "tools/dictbuild/Sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = parserfuzz::Put("index.js", parserfuzz::Bytes(data, size));
  return parserfuzz::Refusing([&] { enci::ReadCmuDict(file); });
}
