#pragma once

// The bytes of an entry page and the names of the page ring's files.

#include <string>
#include <string_view>

namespace entry {

// The page start, up to the headword's paragraph: 231 bytes.
inline constexpr std::string_view kPageHead =
    "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=gbk\">"
    "<link href=\"./encd.css\" rel=\"stylesheet\" type=\"text/css\" /></head><body>"
    "\t<div class=\"post\"><div class=\"content\" style=\"padding-top:2px;\">"
    "\r\n<p class=\"word\">";

// text with "&", "<" and ">" written as character references.
std::string EscapeText(std::string_view text);

// The page for a headword (shown as text) and its entry text (markup), not yet expanded.
std::string BuildPage(std::string_view title, std::string_view entryText);

// Expands the entry markup's abbreviations in three passes: "C=" -> "class=", "</S" ->
// "</span", "<S" -> "<span". Case-sensitive, no rescan of replaced text, and never a match
// that starts on the second byte of a double-byte character.
std::string ExpandMarkup(std::string_view page);

// Number of the next page file of the ring of ten: 1 after 10 (and after 0, the start).
int NextPageCounter(int counter);
// "html/" + counter + ".html".
std::string PagePathOf(int counter);

}  // namespace entry
