// The entry page for any headword and entry text. With entry markup as the store holds it
// (abbreviated, balanced), the expanded page has balanced tags; with any bytes at all, every
// double-byte character of headword and entry comes out whole and in order.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "entry/PageBuilder.h"
#include "tests/fuzz/Characters.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& page) {
  std::fprintf(stderr, "%s\npage: %s\n", what, page.c_str());
  std::abort();
}

// Entry markup from arbitrary bytes: a few control bytes open and close the store's
// abbreviated tags, everything else is text.
std::string Markup(std::string_view bytes) {
  std::string out;
  std::vector<std::string_view> open;
  for (const char c : bytes) {
    switch (c) {
      case '\x01':
        out += "<S C=\"k\">";
        open.push_back("</S>");
        break;
      case '\x02':
        out += "<b>";
        open.push_back("</b>");
        break;
      case '\x03':
        if (!open.empty()) {
          out += open.back();
          open.pop_back();
        }
        break;
      case '\x04':
        out += "<br>";
        break;
      default:
        out += entry::EscapeText(std::string_view(&c, 1));
    }
  }
  while (!open.empty()) {
    out += open.back();
    open.pop_back();
  }
  return out;
}

bool IsVoid(std::string_view name) { return name == "meta" || name == "link" || name == "br"; }

bool IsKnown(std::string_view name) {
  for (const char* known :
       {"html", "head", "meta", "link", "body", "div", "p", "span", "b", "br"}) {
    if (name == known) return true;
  }
  return false;
}

void CheckTags(const std::string& page) {
  std::vector<std::string_view> open;
  const std::string_view s(page);
  for (std::size_t i = 0; i < s.size(); i += fuzzref::Width(s, i)) {
    if (s[i] == '>') Fail("a '>' outside a tag", page);
    if (s[i] != '<') continue;
    const std::size_t end = s.find('>', i);
    if (end == std::string_view::npos) Fail("a tag without its end", page);
    std::string_view tag = s.substr(i + 1, end - i - 1);
    const bool closing = !tag.empty() && tag.front() == '/';
    if (closing) tag.remove_prefix(1);
    const bool selfClosing = !tag.empty() && tag.back() == '/';
    const std::string_view name = tag.substr(0, tag.find_first_of(" /"));
    if (!IsKnown(name)) Fail("an unknown tag", page);
    if (closing) {
      if (open.empty() || open.back() != name) Fail("a tag closed out of turn", page);
      open.pop_back();
    } else if (!selfClosing && !IsVoid(name)) {
      open.push_back(name);
    }
    i = end;
  }
  if (!open.empty()) Fail("a tag left open", page);
}

std::string Page(std::string_view title, std::string_view entryText) {
  const std::string page = entry::ExpandMarkup(entry::BuildPage(title, entryText));
  std::vector<std::string_view> expected = fuzzref::Characters(title, true);
  for (const auto c : fuzzref::Characters(entryText, true)) expected.push_back(c);
  if (fuzzref::Characters(page, true) != expected) Fail("a double-byte character changed", page);
  return page;
}

}  // namespace

// The input is the headword, a NUL byte, then the entry's bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [title, rest] = fuzzref::TwoTexts(data, size);
  CheckTags(Page(title, Markup(rest)));
  Page(title, rest);
  return 0;
}
