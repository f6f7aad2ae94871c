#pragma once

// Text helpers of the dictionary builder: pinyin and IPA rendering, HTML escaping and
// the GBK checks that decide what can go into the stores.

#include <string>
#include <string_view>
#include <vector>

namespace enci {

// "ping2 guo3" -> "píng guǒ" (UTF-8). "u:" and "v" stand for ü; tone 5 and syllables
// without a tone number carry no mark; capitals keep their case.
std::string PinyinMarks(std::string_view numbered);

// "B AE1 NG K" -> "ˈbæŋk" (UTF-8): broad American IPA, stress marks before the syllable.
std::string ArpabetToIpa(std::string_view arpabet);

// Escapes content text for the entry markup. Besides &, < and >, "=" is written as a
// character reference so that content can never form the markup's "C=" abbreviation.
std::string EscapeText(std::string_view utf8);

// True when every character of the UTF-8 text has a GBK encoding.
bool GbkEncodable(std::string_view utf8);
// Escaped text in which every character GBK cannot hold becomes a numeric reference
// (for text the builder makes itself, such as IPA, which has no GBK form).
std::string EscapeWithReferences(std::string_view utf8);
// UTF-8 -> GBK bytes. Throws std::runtime_error when a character has no GBK form.
std::string ToGbk(std::string_view utf8);

// How uncommon the characters of a text are: 0 for the commonest (GB2312 level 1),
// more for each rarer one.
int Rarity(std::string_view utf8);

// Lower-cases ASCII letters.
std::string AsciiLower(std::string_view text);

// The characters of a UTF-8 text, one string each.
std::vector<std::string> Utf8Chars(std::string_view utf8);

}  // namespace enci
