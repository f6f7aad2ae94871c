#include "store/Trigrams.h"

#include <algorithm>

#include "store/GbkChars.h"
#include "store/StoreTable.h"

namespace store {

std::string FoldedChar(std::string_view bytes) {
  std::string folded(bytes);
  if (folded.size() == 1) {
    folded[0] = static_cast<char>(gbk::UpperAscii(static_cast<unsigned char>(folded[0])));
  }
  return folded;
}

std::vector<std::string> Trigrams(std::string_view text) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = gbk::CharLen(text, i);
    chars.push_back(FoldedChar(text.substr(i, n)));
    i += n;
  }
  std::vector<std::string> grams;
  for (std::size_t i = 0; i + 2 < chars.size(); ++i) {
    grams.push_back(chars[i] + chars[i + 1] + chars[i + 2]);
  }
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

std::string EncodeIds(const std::vector<std::int64_t>& ascending) {
  std::string bytes;
  std::uint64_t previous = 0;
  for (const std::int64_t id : ascending) {
    std::uint64_t delta = static_cast<std::uint64_t>(id) - previous;
    previous = static_cast<std::uint64_t>(id);
    while (delta >= 0x80) {
      bytes += static_cast<char>(0x80 | (delta & 0x7F));
      delta >>= 7;
    }
    bytes += static_cast<char>(delta);
  }
  return bytes;
}

std::vector<std::int64_t> DecodeIds(std::string_view bytes) {
  std::vector<std::int64_t> ids;
  std::uint64_t previous = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    std::uint64_t delta = 0;
    for (int shift = 0;; shift += 7) {
      if (i == bytes.size() || shift > 63) throw ESQLiteException("Malformed trigram id list");
      const auto b = static_cast<unsigned char>(bytes[i++]);
      delta |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) break;
    }
    previous += delta;
    ids.push_back(static_cast<std::int64_t>(previous));
  }
  return ids;
}

}  // namespace store
