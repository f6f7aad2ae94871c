#pragma once

// The trigram index of the word index: for every run of three characters, the headwords that
// hold it. A character is what gbk::CharLen cuts, a one-byte one upper-cased
// (gbk::UpperAscii), so that a title the GBK like matches holds every trigram of each literal
// run of the pattern, whatever the case of its letters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// A character's bytes as the index keys it: one-byte characters upper-cased.
std::string FoldedChar(std::string_view bytes);

// Every trigram of text's characters, each once, sorted.
std::vector<std::string> Trigrams(std::string_view text);

// Ids in ascending order as the index stores them: each one's difference from the one before
// (the first's from 0), modulo 2^64, as a LEB128 number.
std::string EncodeIds(const std::vector<std::int64_t>& ascending);
// Raises ESQLiteException for bytes that end inside a number.
std::vector<std::int64_t> DecodeIds(std::string_view bytes);

}  // namespace store
