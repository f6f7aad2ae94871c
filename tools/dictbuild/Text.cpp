#include "tools/dictbuild/Text.h"

#include <QString>
#include <QStringEncoder>
#include <array>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

namespace enci {
namespace {

// Decodes UTF-8; malformed bytes come back as U+FFFD.
std::u32string Decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<std::size_t>(len) > s.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(c);
    i += static_cast<std::size_t>(len);
  }
  return out;
}

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Which BMP characters GBK holds, worked out once from the codec itself.
// Per BMP character: 0 no GBK form, 1 in GB2312 level 1 (the 3755 commonest characters),
// 2 in GB2312 level 2, 3 elsewhere in GBK (ASCII and symbols count as 1).
const std::vector<unsigned char>& GbkTable() {
  static std::vector<unsigned char> table;
  static std::once_flag once;
  std::call_once(once, [] {
    table.assign(0x10000, 0);
    if (!QStringEncoder("GBK").isValid())
      throw std::runtime_error("the GBK codec is not available");
    for (char32_t c = 0; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      const QChar ch(static_cast<char16_t>(c));
      // A fresh encoder each time: its error flag survives resetState().
      QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
      const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
      if (encoder.hasError() || bytes.isEmpty() || (c != '?' && bytes == "?")) continue;
      const auto lead = static_cast<unsigned char>(bytes[0]);
      const auto trail = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
      if (bytes.size() == 1 || (lead >= 0xA1 && lead <= 0xA9 && trail >= 0xA1)) {
        table[c] = 1;
      } else if (trail >= 0xA1 && lead >= 0xB0 && lead <= 0xD7) {
        table[c] = 1;
      } else if (trail >= 0xA1 && lead >= 0xD8 && lead <= 0xF7) {
        table[c] = 2;
      } else {
        table[c] = 3;
      }
    }
  });
  return table;
}

bool InGbk(char32_t c) { return c < 0x10000 && GbkTable()[c] != 0; }

void EscapeInto(std::string& out, char32_t c, bool references) {
  switch (c) {
    case '&':
      out += "&amp;";
      return;
    case '<':
      out += "&lt;";
      return;
    case '>':
      out += "&gt;";
      return;
    case '=':
      out += "&#61;";
      return;
    default:
      break;
  }
  if (references && !InGbk(c)) {
    out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    return;
  }
  Append(out, c);
}

// Tone-marked vowels: index 0 is the plain vowel, 1..4 the tones.
const std::map<char32_t, std::array<char32_t, 5>>& ToneTable() {
  static const std::map<char32_t, std::array<char32_t, 5>> table = {
      {U'a', {U'a', U'ā', U'á', U'ǎ', U'à'}}, {U'e', {U'e', U'ē', U'é', U'ě', U'è'}},
      {U'i', {U'i', U'ī', U'í', U'ǐ', U'ì'}}, {U'o', {U'o', U'ō', U'ó', U'ǒ', U'ò'}},
      {U'u', {U'u', U'ū', U'ú', U'ǔ', U'ù'}}, {U'ü', {U'ü', U'ǖ', U'ǘ', U'ǚ', U'ǜ'}},
      {U'A', {U'A', U'Ā', U'Á', U'Ǎ', U'À'}}, {U'E', {U'E', U'Ē', U'É', U'Ě', U'È'}},
      {U'I', {U'I', U'Ī', U'Í', U'Ǐ', U'Ì'}}, {U'O', {U'O', U'Ō', U'Ó', U'Ǒ', U'Ò'}},
      {U'U', {U'U', U'Ū', U'Ú', U'Ǔ', U'Ù'}}, {U'Ü', {U'Ü', U'Ǖ', U'Ǘ', U'Ǚ', U'Ǜ'}},
  };
  return table;
}

char32_t Lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c == U'Ü') return U'ü';
  return c;
}

std::string MarkSyllable(std::string_view syllable) {
  std::u32string s = Decode(syllable);
  int tone = 0;
  if (!s.empty() && s.back() >= '1' && s.back() <= '5') {
    tone = static_cast<int>(s.back() - '0');
    s.pop_back();
  }
  // ü is written "u:" or, in a toned syllable, "v".
  std::u32string w;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((s[i] == 'u' || s[i] == 'U') && i + 1 < s.size() && s[i + 1] == ':') {
      w.push_back(s[i] == 'u' ? U'ü' : U'Ü');
      ++i;
    } else if (tone != 0 && (s[i] == 'v' || s[i] == 'V')) {
      w.push_back(s[i] == 'v' ? U'ü' : U'Ü');
    } else {
      w.push_back(s[i]);
    }
  }
  if (tone >= 1 && tone <= 4) {
    std::u32string lower;
    for (char32_t c : w) lower.push_back(Lower(c));
    auto isVowel = [](char32_t c) {
      return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == U'ü';
    };
    std::size_t at = std::u32string::npos;
    if (auto p = lower.find(U'a'); p != std::u32string::npos) {
      at = p;
    } else if (auto q = lower.find(U'e'); q != std::u32string::npos) {
      at = q;
    } else if (auto r = lower.find(U"ou"); r != std::u32string::npos) {
      at = r;
    } else {
      for (std::size_t i = lower.size(); i-- > 0;) {
        if (isVowel(lower[i])) {
          at = i;
          break;
        }
      }
    }
    if (at != std::u32string::npos) {
      w[at] = ToneTable().at(w[at])[static_cast<std::size_t>(tone)];
    } else {
      // Syllabic nasals (m, n, ng) take the mark on their first letter.
      static const std::array<char32_t, 5> marks = {0, 0x0304, 0x0301, 0x030C, 0x0300};
      for (std::size_t i = 0; i < lower.size(); ++i) {
        if (lower[i] == 'm' || lower[i] == 'n') {
          w.insert(w.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                   marks[static_cast<std::size_t>(tone)]);
          break;
        }
      }
    }
  }
  std::string out;
  for (char32_t c : w) Append(out, c);
  return out;
}

struct Phone {
  const char* stressed;
  const char* unstressed;
  bool vowel;
};

const std::map<std::string, Phone, std::less<>>& Phones() {
  static const std::map<std::string, Phone, std::less<>> table = {
      {"AA", {"ɑ", "ɑ", true}},   {"AE", {"æ", "æ", true}},    {"AH", {"ʌ", "ə", true}},
      {"AO", {"ɔ", "ɔ", true}},   {"AW", {"aʊ", "aʊ", true}},  {"AY", {"aɪ", "aɪ", true}},
      {"EH", {"ɛ", "ɛ", true}},   {"ER", {"ɝ", "ɚ", true}},    {"EY", {"eɪ", "eɪ", true}},
      {"IH", {"ɪ", "ɪ", true}},   {"IY", {"i", "i", true}},    {"OW", {"oʊ", "oʊ", true}},
      {"OY", {"ɔɪ", "ɔɪ", true}}, {"UH", {"ʊ", "ʊ", true}},    {"UW", {"u", "u", true}},
      {"B", {"b", "b", false}},   {"CH", {"tʃ", "tʃ", false}}, {"D", {"d", "d", false}},
      {"DH", {"ð", "ð", false}},  {"F", {"f", "f", false}},    {"G", {"ɡ", "ɡ", false}},
      {"HH", {"h", "h", false}},  {"JH", {"dʒ", "dʒ", false}}, {"K", {"k", "k", false}},
      {"L", {"l", "l", false}},   {"M", {"m", "m", false}},    {"N", {"n", "n", false}},
      {"NG", {"ŋ", "ŋ", false}},  {"P", {"p", "p", false}},    {"R", {"r", "r", false}},
      {"S", {"s", "s", false}},   {"SH", {"ʃ", "ʃ", false}},   {"T", {"t", "t", false}},
      {"TH", {"θ", "θ", false}},  {"V", {"v", "v", false}},    {"W", {"w", "w", false}},
      {"Y", {"j", "j", false}},   {"Z", {"z", "z", false}},    {"ZH", {"ʒ", "ʒ", false}},
  };
  return table;
}

// Consonant clusters English allows at the start of a syllable (beyond single consonants).
bool LegalOnset(const std::vector<std::string>& c) {
  static const std::set<std::vector<std::string>> clusters = [] {
    std::set<std::vector<std::string>> s;
    for (const char* a : {"P", "B", "T", "D", "K", "G", "F", "TH", "SH"}) s.insert({a, "R"});
    for (const char* a : {"P", "B", "K", "G", "F", "S"}) s.insert({a, "L"});
    for (const char* a : {"P", "T", "K", "M", "N", "F"}) s.insert({"S", a});
    for (const char* a : {"T", "D", "K", "G", "S", "TH", "HH"}) s.insert({a, "W"});
    for (const char* a : {"P", "B", "K", "G", "F", "V", "M", "HH"}) s.insert({a, "Y"});
    s.insert({"S", "P", "R"});
    s.insert({"S", "T", "R"});
    s.insert({"S", "K", "R"});
    s.insert({"S", "P", "L"});
    s.insert({"S", "K", "W"});
    s.insert({"S", "P", "Y"});
    s.insert({"S", "K", "Y"});
    return s;
  }();
  if (c.empty()) return true;
  if (c.size() == 1) return c[0] != "NG" && c[0] != "ZH";
  return clusters.count(c) != 0;
}

}  // namespace

std::string PinyinMarks(std::string_view numbered) {
  std::string out;
  std::size_t start = 0;
  while (start <= numbered.size()) {
    std::size_t end = numbered.find(' ', start);
    if (end == std::string_view::npos) end = numbered.size();
    if (start != 0) out.push_back(' ');
    out += MarkSyllable(numbered.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::string ArpabetToIpa(std::string_view arpabet) {
  struct Item {
    std::string phone;
    int stress;  // -1 consonant, 0 unstressed, 1 primary, 2 secondary
  };
  std::vector<Item> items;
  std::size_t start = 0;
  while (start < arpabet.size()) {
    std::size_t end = arpabet.find(' ', start);
    if (end == std::string_view::npos) end = arpabet.size();
    std::string token(arpabet.substr(start, end - start));
    start = end + 1;
    if (token.empty()) continue;
    int stress = -1;
    if (token.back() >= '0' && token.back() <= '2') {
      stress = token.back() - '0';
      token.pop_back();
    }
    const auto it = Phones().find(token);
    if (it == Phones().end()) continue;
    if (it->second.vowel && stress < 0) stress = 0;
    items.push_back({token, it->second.vowel ? stress : -1});
  }
  // Where each stressed syllable starts: the longest legal onset before its vowel.
  std::vector<std::string> marks(items.size());
  std::size_t previousVowelEnd = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].stress < 0) continue;
    std::size_t onset = i;
    if (previousVowelEnd == 0) {
      onset = 0;
    } else {
      while (onset > previousVowelEnd) {
        std::vector<std::string> cluster;
        for (std::size_t k = onset - 1; k < i; ++k) cluster.push_back(items[k].phone);
        if (!LegalOnset(cluster)) break;
        --onset;
      }
    }
    if (items[i].stress == 1) marks[onset] += "ˈ";
    if (items[i].stress == 2) marks[onset] += "ˌ";
    previousVowelEnd = i + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += marks[i];
    const Phone& p = Phones().find(items[i].phone)->second;
    out += items[i].stress == 0 ? p.unstressed : p.stressed;
  }
  return out;
}

std::string EscapeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 8);
  for (char32_t c : Decode(utf8)) EscapeInto(out, c, false);
  return out;
}

std::string EscapeWithReferences(std::string_view utf8) {
  std::string out;
  for (char32_t c : Decode(utf8)) EscapeInto(out, c, true);
  return out;
}

bool GbkEncodable(std::string_view utf8) {
  bool ascii = true;
  for (char ch : utf8) {
    if (static_cast<unsigned char>(ch) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return true;
  for (char32_t c : Decode(utf8)) {
    if (!InGbk(c)) return false;
  }
  return true;
}

std::string ToGbk(std::string_view utf8) {
  if (!GbkEncodable(utf8)) {
    throw std::runtime_error("text has no GBK form: " + std::string(utf8.substr(0, 80)));
  }
  QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
  const QByteArray bytes =
      encoder.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

}  // namespace enci

namespace enci {

int Rarity(std::string_view utf8) {
  int r = 0;
  for (char32_t c : Decode(utf8)) {
    const int level = c < 0x10000 ? GbkTable()[c] : 0;
    r += level == 2 ? 3 : level == 1 ? 0 : 6;
  }
  return r;
}

std::vector<std::string> Utf8Chars(std::string_view utf8) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
    out.emplace_back(utf8.substr(i, len));
    i += len;
  }
  return out;
}

}  // namespace enci
