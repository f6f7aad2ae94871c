#include "tools/dictbuild/WordForms.h"

namespace enci {
namespace {

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}
bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }
bool ConsonantY(std::string_view s) {
  return s.size() >= 2 && s.back() == 'y' && !IsVowel(s[s.size() - 2]);
}
bool AllLower(std::string_view s) {
  for (char c : s) {
    if (c < 'a' || c > 'z') return false;
  }
  return !s.empty();
}

const std::vector<std::string>* Find(
    const std::map<std::string, std::vector<std::string>, std::less<>>& m, std::string_view key) {
  const auto it = m.find(key);
  return it == m.end() ? nullptr : &it->second;
}

// Splits a phrase around the word that inflects: the first for verbs, the last for nouns.
struct Split {
  std::string before, word, after;
};
Split SplitFirst(std::string_view phrase) {
  const auto p = phrase.find(' ');
  if (p == std::string_view::npos) return {"", std::string(phrase), ""};
  return {"", std::string(phrase.substr(0, p)), std::string(phrase.substr(p))};
}
Split SplitLast(std::string_view phrase) {
  const auto p = phrase.rfind(' ');
  if (p == std::string_view::npos) return {"", std::string(phrase), ""};
  return {std::string(phrase.substr(0, p + 1)), std::string(phrase.substr(p + 1)), ""};
}

std::string RegularPlural(const std::string& w) {
  if (ConsonantY(w)) return w.substr(0, w.size() - 1) + "ies";
  if (EndsWith(w, "ss") || EndsWith(w, "x") || EndsWith(w, "z") || EndsWith(w, "ch") ||
      EndsWith(w, "sh") || EndsWith(w, "us") || EndsWith(w, "as")) {
    return w + "es";
  }
  return w + "s";
}

int Syllables(std::string_view w) {
  int n = 0;
  bool inVowel = false;
  for (std::size_t i = 0; i < w.size(); ++i) {
    const bool v = IsVowel(w[i]) || (w[i] == 'y' && i > 0);
    if (v && !inVowel) ++n;
    inVowel = v;
  }
  if (w.size() > 2 && w.back() == 'e' && !IsVowel(w[w.size() - 2]) && w[w.size() - 2] != 'l' &&
      n > 1) {
    --n;
  }
  return n;
}

// run / ran, come / came: one vowel turned to a, which only the past does.
bool StrongPastOfBase(std::string_view base, std::string_view past) {
  if (base.size() != past.size()) return false;
  int changed = 0;
  for (std::size_t i = 0; i < base.size(); ++i) {
    if (base[i] == past[i]) continue;
    if ((base[i] != 'u' && base[i] != 'o') || past[i] != 'a') return false;
    ++changed;
  }
  return changed == 1;
}

GradedForms FromExceptions(const std::vector<std::string>& forms) {
  GradedForms g;
  for (const auto& f : forms) {
    if (g.superlative.empty() && EndsWith(f, "st")) {
      g.superlative = f;
    } else if (g.comparative.empty() && !EndsWith(f, "st")) {
      g.comparative = f;
    }
  }
  return g;
}

}  // namespace

std::string NounPlural(std::string_view noun, const Exceptions& exc) {
  if (const auto* forms = Find(exc.noun, noun)) return forms->front();
  Split s = SplitLast(noun);
  if (!AllLower(s.word)) return {};  // proper names, abbreviations, numbers
  if (const auto* forms = Find(exc.noun, s.word)) return s.before + forms->front();
  // A final s not of -ss, -us, -is, -as is most often a plural already (trousers, news).
  if (EndsWith(s.word, "s") && !EndsWith(s.word, "ss") && !EndsWith(s.word, "us") &&
      !EndsWith(s.word, "as")) {
    return {};
  }
  if (EndsWith(s.word, "is")) return {};  // Greek and Latin plurals are in the exceptions
  return s.before + RegularPlural(s.word);
}

VerbForms VerbFormsOf(std::string_view verb, const Exceptions& exc) {
  Split s = SplitFirst(verb);
  const std::string& w = s.word;
  VerbForms v;
  if (w == "be") {
    v = {"is", "was, were", "been", "being"};
  } else if (const auto* forms = Find(exc.verb, w)) {
    std::vector<std::string> pasts;
    for (const auto& f : *forms) {
      if (EndsWith(f, "ing")) {
        if (v.presentParticiple.empty()) v.presentParticiple = f;
      } else if (EndsWith(f, "s") && !EndsWith(f, "ss")) {
        if (v.third.empty()) v.third = f;
      } else {
        pasts.push_back(f);
      }
    }
    if (pasts.size() == 1) {
      const std::string& f = pasts[0];
      if (f.size() > w.size() && EndsWith(f, "n")) {
        // The list holds only the participle (shown, proven, beaten): the past is
        // regular, or the bare verb where the participle adds -en to it (beat, outbid).
        v.pastParticiple = f;
        if (f == w + "en" || f == w + "den") v.past = w;
      } else if (StrongPastOfBase(w, f)) {
        v.past = f;  // ran, came: the participle is the bare verb, not in the list
        v.pastParticiple = w;
      } else {
        v.past = v.pastParticiple = f;
      }
    } else if (pasts.size() >= 2) {
      // The participle is the form in -n (gone, taken) or, failing that, the one with u
      // where the past has a (begun / began).
      auto participle = [](const std::string& f) {
        return (EndsWith(f, "n") || EndsWith(f, "ne") ? 2 : 0) +
               (f.find('u') != std::string::npos ? 1 : 0);
      };
      std::size_t pp = 0;
      for (std::size_t i = 1; i < pasts.size(); ++i) {
        if (participle(pasts[i]) > participle(pasts[pp])) pp = i;
      }
      v.pastParticiple = pasts[pp];
      v.past = pasts[pp == 0 ? 1 : 0];
    }
  }
  if (w != "be" && AllLower(w)) {
    if (v.third.empty()) {
      if (ConsonantY(w)) {
        v.third = w.substr(0, w.size() - 1) + "ies";
      } else if (EndsWith(w, "s") || EndsWith(w, "x") || EndsWith(w, "z") || EndsWith(w, "ch") ||
                 EndsWith(w, "sh") || EndsWith(w, "o")) {
        v.third = w + "es";
      } else {
        v.third = w + "s";
      }
    }
    if (v.past.empty()) {
      if (EndsWith(w, "e")) {
        v.past = w + "d";
      } else if (ConsonantY(w)) {
        v.past = w.substr(0, w.size() - 1) + "ied";
      } else {
        v.past = w + "ed";
      }
    }
    if (v.pastParticiple.empty()) v.pastParticiple = v.past;
    if (v.presentParticiple.empty()) {
      if (EndsWith(w, "ie")) {
        v.presentParticiple = w.substr(0, w.size() - 2) + "ying";
      } else if (EndsWith(w, "e") && !EndsWith(w, "ee") && !EndsWith(w, "oe") &&
                 !EndsWith(w, "ye") && w.size() > 2) {
        v.presentParticiple = w.substr(0, w.size() - 1) + "ing";
      } else {
        v.presentParticiple = w + "ing";
      }
    }
  }
  if (v.third.empty()) return {};  // not an English verb form we can inflect
  auto whole = [&s](const std::string& f) {
    if (f.empty() || s.after.empty()) return f;
    return f + s.after;
  };
  return {whole(v.third), whole(v.past), whole(v.pastParticiple), whole(v.presentParticiple)};
}

GradedForms AdjectiveForms(std::string_view adjective, const Exceptions& exc) {
  if (const auto* forms = Find(exc.adj, adjective)) {
    GradedForms g = FromExceptions(*forms);
    if (!g.comparative.empty() || !g.superlative.empty()) return g;
  }
  const std::string w(adjective);
  if (!AllLower(w) || w.size() < 2 || EndsWith(w, "ed") || EndsWith(w, "ing")) return {};
  // go, so, ultra: no adjective in a, i, o or u takes -er.
  if (IsVowel(w.back()) && w.back() != 'e') return {};
  const int n = Syllables(w);
  if (n != 1 && !(n == 2 && ConsonantY(w))) return {};
  if (EndsWith(w, "e")) return {w + "r", w + "st"};
  if (ConsonantY(w)) {
    const std::string stem = w.substr(0, w.size() - 1);
    return {stem + "ier", stem + "iest"};
  }
  return {w + "er", w + "est"};
}

GradedForms AdverbForms(std::string_view adverb, const Exceptions& exc) {
  if (const auto* forms = Find(exc.adv, adverb)) return FromExceptions(*forms);
  return {};
}

}  // namespace enci
