#pragma once

// The fuzz targets' own reading of GBK characters, written from the encoding's rule rather than
// taken from the code under test: a lead byte 0x81-0xFE followed by a byte 0x40-0xFE is one
// double-byte character; every other byte stands alone. Also how an input splits in two.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzzref {

inline std::size_t Width(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead >= 0x81 && lead <= 0xFE && i + 1 < s.size()) {
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second >= 0x40 && second <= 0xFE) return 2;
  }
  return 1;
}

// The characters of a text in order; with onlyDouble, its double-byte characters alone.
inline std::vector<std::string_view> Characters(std::string_view s, bool onlyDouble = false) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = Width(s, i);
    if (!onlyDouble || n == 2) out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

// An input of two texts: what comes before the first NUL byte, and what comes after it.
inline std::pair<std::string_view, std::string_view> TwoTexts(const std::uint8_t* data,
                                                              std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  if (cut == std::string_view::npos) return {input, {}};
  return {input.substr(0, cut), input.substr(cut + 1)};
}

}  // namespace fuzzref
