#pragma once

// Inflected forms of English headwords: WordNet's exception lists first, regular rules
// otherwise.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace enci {

// Base form -> its irregular forms, as the exception lists give them (file order).
struct Exceptions {
  std::map<std::string, std::vector<std::string>, std::less<>> noun, verb, adj, adv;
};

struct VerbForms {
  std::string third, past, pastParticiple, presentParticiple;
};
struct GradedForms {
  std::string comparative, superlative;  // both empty when the word is not graded
};

// Plural of a noun, or empty when it has none (proper names, words already plural).
std::string NounPlural(std::string_view noun, const Exceptions& exc);
VerbForms VerbFormsOf(std::string_view verb, const Exceptions& exc);
GradedForms AdjectiveForms(std::string_view adjective, const Exceptions& exc);
// Adverbs are graded only where the exception list says so.
GradedForms AdverbForms(std::string_view adverb, const Exceptions& exc);

}  // namespace enci
