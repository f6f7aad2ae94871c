#include "tools/dictbuild/Translations.h"

#include <algorithm>

#include "tools/dictbuild/Text.h"

namespace enci {
namespace {

bool StartsWith(std::string_view s, std::string_view head) {
  return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

const std::unordered_set<std::string>& StopWords() {
  static const std::unordered_set<std::string> words = {
      "the",  "and",   "for",        "with",    "from",     "that",   "which",  "who",    "whom",
      "this", "these", "those",      "are",     "was",      "were",   "been",   "being",  "has",
      "have", "had",   "not",        "but",     "its",      "his",    "her",    "their",  "one",
      "ones", "some",  "something",  "someone", "somebody", "thing",  "things", "person", "people",
      "used", "use",   "especially", "usually", "often",    "etc",    "such",   "other",  "any",
      "all",  "into",  "onto",       "out",     "over",     "under",  "more",   "most",   "very",
      "can",  "may",   "will",       "make",    "made",     "having", "state",  "act",    "kind",
      "type", "form",  "part",       "way",     "also",     "than",   "them",   "they",   "you",
      "your", "our"};
  return words;
}

std::string Stem(std::string w) {
  if (w.size() > 4 && w.compare(w.size() - 3, 3, "ies") == 0)
    return w.substr(0, w.size() - 3) + "y";
  if (w.size() > 5 && w.compare(w.size() - 3, 3, "ing") == 0) return w.substr(0, w.size() - 3);
  if (w.size() > 4 && w.compare(w.size() - 2, 2, "ed") == 0) return w.substr(0, w.size() - 2);
  if (w.size() > 3 && w.back() == 's' && w[w.size() - 2] != 's') return w.substr(0, w.size() - 1);
  return w;
}

// Notes that mark a gloss as a restricted or secondary use of the Chinese word.
bool RestrictedNote(std::string_view note) {
  for (const char* m :
       {"literary",  "bound form", "dialect",    "old",   "archaic", "slang", "Tw",
        "Cantonese", "classical",  "obsolete",   "derog", "vulgar",  "coll",  "euphemism",
        "Internet",  "loanword",   "abbr",       "lit.",  "fig.",    "onom",  "Buddhism",
        "Taiwan",    "Hokkien",    "Wu dialect", "polite"}) {
    if (note.find(m) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ContentWords(std::string_view text) {
  std::vector<std::string> out;
  std::string word;
  auto flush = [&] {
    if (word.size() >= 3 && !StopWords().count(word)) out.push_back(Stem(word));
    word.clear();
  };
  for (char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      word.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
    } else {
      flush();
    }
  }
  flush();
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<CutGloss> CutSense(std::string_view sense) {
  std::vector<CutGloss> out;
  for (const char* skip :
       {"variant of", "old variant of", "see ", "used in", "surname ", "abbr. for",
        "CL:", "classifier for", "also written", "also pr.", "erhua variant", "Japanese variant",
        "(old) variant", "same as", "see also", "(Tw) variant"}) {
    if (StartsWith(sense, skip)) return out;
  }
  std::size_t start = 0;
  while (start <= sense.size()) {
    std::size_t end = sense.find(';', start);
    if (end == std::string_view::npos) end = sense.size();
    std::string_view item = sense.substr(start, end - start);
    start = end + 1;
    CutGloss g;
    std::string text;
    int depth = 0;
    std::string note;
    for (char c : item) {
      if (c == '(') {
        ++depth;
        g.noted = true;
      } else if (c == ')') {
        if (depth > 0) --depth;
      } else if (depth > 0) {
        note.push_back(c);
      } else {
        text.push_back(c);
      }
    }
    g.marked = RestrictedNote(note);
    // Trim and squeeze blanks.
    std::string squeezed;
    for (char c : text) {
      if (c == ' ' && (squeezed.empty() || squeezed.back() == ' ')) continue;
      squeezed.push_back(c);
    }
    while (!squeezed.empty() && (squeezed.back() == ' ' || squeezed.back() == '.'))
      squeezed.pop_back();
    if (StartsWith(squeezed, "to ")) {
      g.verb = true;
      squeezed.erase(0, 3);
    }
    if (squeezed.empty() || squeezed.size() > 48) continue;
    g.text = std::move(squeezed);
    out.push_back(std::move(g));
  }
  return out;
}

TranslationIndex::TranslationIndex(const std::vector<CedictEntry>& entries) {
  bags_.resize(entries.size());
  // How many headwords use each character: characters that few words are built from are
  // rare or literary, and so are the words that hold them.
  std::unordered_map<std::string, int> uses;
  // How many longer headwords contain each word: words that others are built from are the
  // common ones (岸 in 海岸, 河岸; 快乐 in 生日快乐).
  std::unordered_map<std::string, int> within;
  {
    std::unordered_set<std::string> seen;
    for (const auto& entry : entries) {
      if (!seen.insert(entry.simplified).second) continue;
      const auto chars = Utf8Chars(entry.simplified);
      for (const auto& ch : chars) ++uses[ch];
      std::unordered_set<std::string> parts;
      for (std::size_t i = 0; i < chars.size(); ++i) {
        std::string part;
        for (std::size_t j = i; j < chars.size() && j < i + 4; ++j) {
          part += chars[j];
          if (j - i + 1 < chars.size()) parts.insert(part);
        }
      }
      for (const auto& p : parts) ++within[p];
    }
  }
  for (std::size_t e = 0; e < entries.size(); ++e) {
    const CedictEntry& entry = entries[e];
    std::string all;
    // Proper names (capitalised pinyin) translate only capitalised glosses well.
    const bool proper = !entry.pinyin.empty() && entry.pinyin[0] >= 'A' && entry.pinyin[0] <= 'Z';
    const int chars = static_cast<int>(entry.simplified.size() / 3);
    int rarity = Rarity(entry.simplified);
    int fewest = 1 << 30;
    for (const auto& ch : Utf8Chars(entry.simplified)) fewest = std::min(fewest, uses[ch]);
    if (fewest < 10) {
      rarity += 4;
    } else if (fewest < 40) {
      rarity += 2;
    }
    const auto found = within.find(entry.simplified);
    const int compounds = found == within.end() ? 0 : found->second;
    rarity += compounds == 0 ? 3 : compounds < 3 ? 1 : compounds < 10 ? 0 : -1;
    // A reading that is also a variant of another character is a secondary use.
    for (const auto& sense : entry.senses) {
      if (sense.find("variant of") != std::string::npos) {
        rarity += 4;
        break;
      }
    }
    for (std::size_t s = 0; s < entry.senses.size(); ++s) {
      all += entry.senses[s];
      all += ' ';
      const auto cut = CutSense(entry.senses[s]);
      for (std::size_t k = 0; k < cut.size(); ++k) {
        const CutGloss& g = cut[k];
        int rank = static_cast<int>(std::min<std::size_t>(s, 6)) * 3 +
                   static_cast<int>(std::min<std::size_t>(k, 6)) * 2;
        if (g.noted) rank += 3;
        if (g.marked) rank += 12;
        if (proper) rank += 4;
        if (chars > 4) rank += 2;
        rank += rarity;
        if (!GbkEncodable(entry.simplified)) continue;
        index_[g.text].push_back({e, rank, g.verb});
      }
    }
    bags_[e] = ContentWords(all);
  }
  for (auto& [key, list] : index_) {
    std::stable_sort(list.begin(), list.end(),
                     [](const Translation& a, const Translation& b) { return a.rank < b.rank; });
  }
}

std::vector<Translation> TranslationIndex::Find(std::string_view english, bool verb) const {
  std::vector<Translation> out;
  const auto it = index_.find(std::string(english));
  if (it == index_.end()) return out;
  for (const auto& t : it->second) {
    if (t.verb == verb) out.push_back(t);
  }
  return out;
}

}  // namespace enci
