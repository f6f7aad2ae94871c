#pragma once

// Byte-wise path handling for the desktop shortcut. Paths are GBK bytes: a delimiter byte that
// is the second byte of a double-byte character is not a delimiter.

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// The characters that end a folder name in a path: "\" and ":" on Windows, "/" elsewhere.
std::string_view PathDelimiters();

// The folder separator alone: "\" on Windows, "/" elsewhere; a drive's ":" is not one.
std::string_view PathSeparator();

// Index of the last byte of text that is one of delimiters and not the trail byte of a
// double-byte character; npos when there is none.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters);

// The path with one trailing delimiter removed, if it ends in one.
std::string ExcludeTrailingDelimiter(const std::string& path, std::string_view delimiters);

}  // namespace app
