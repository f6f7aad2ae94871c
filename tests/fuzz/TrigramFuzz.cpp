// The trigram index's id lists come from a file: any bytes either decode to ids that encode
// back to a list decoding the same, or raise the store's error; nothing else. And any text's
// trigrams are whole: each is three characters of the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "store/GbkChars.h"
#include "store/StoreTable.h"
#include "store/Trigrams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::vector<std::int64_t> ids = store::DecodeIds(bytes);
    if (store::DecodeIds(store::EncodeIds(ids)) != ids) std::abort();
  } catch (const ESQLiteException&) {
  }
  for (const std::string& gram : store::Trigrams(bytes)) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < gram.size(); i += gbk::CharLen(gram, i)) ++chars;
    if (chars != 3 || gram.size() > 6) std::abort();
  }
  return 0;
}
