#pragma once

// Writes a small copy of the sources, in their own formats, for the words listed in a file:
// the sample dictionary that is built when the packages cannot be fetched.

#include <filesystem>

namespace enci {

void WriteExcerpt(const std::filesystem::path& wordsFile, const std::filesystem::path& sources,
                  const std::filesystem::path& out);

}  // namespace enci
