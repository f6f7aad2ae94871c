#pragma once

// Addresses on the maker's web site (GBK bytes; all ASCII in practice).

#include <string>

namespace app {

std::string SiteHost();
std::string HomePageAddress();
// "/en/" + word + ".html", the word's GBK bytes percent-encoded (blanks included) so that the
// browser receives exactly those bytes.
std::string EntryPageAddress(const std::string& word);
std::string AboutPageAddress();

}  // namespace app
