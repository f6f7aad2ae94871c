#pragma once

// English -> Chinese through CC-CEDICT's English glosses, read backwards.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tools/dictbuild/Sources.h"

namespace enci {

struct Translation {
  std::size_t entry;  // index into the CEDICT entries
  int rank;           // lower is more precise
  bool verb;          // the gloss read "to ..."
};

// Content words of an English text, lower case, with plural and tense endings cut, for
// comparing a CEDICT entry's other glosses with a WordNet sense.
std::vector<std::string> ContentWords(std::string_view text);

// One CEDICT gloss cut down to what it translates: "(bound form) to walk" -> "walk" with
// verb = true; empty for cross-references (variant of, see, used in, surname).
struct CutGloss {
  std::string text;
  bool verb = false;
  bool noted = false;   // a parenthesised note was cut
  bool marked = false;  // the note marks a restricted use (literary, dialect, bound form...)
};
std::vector<CutGloss> CutSense(std::string_view sense);

class TranslationIndex {
 public:
  TranslationIndex(const std::vector<CedictEntry>& entries);

  // Best translations of an English word or phrase (exact case), most precise first.
  // Verbs match glosses "to word", other parts of speech glosses equal to the word.
  std::vector<Translation> Find(std::string_view english, bool verb) const;
  // Content words of all the entry's glosses.
  const std::vector<std::string>& Bag(std::size_t entry) const { return bags_[entry]; }

 private:
  std::unordered_map<std::string, std::vector<Translation>> index_;
  std::vector<std::vector<std::string>> bags_;
};

}  // namespace enci
