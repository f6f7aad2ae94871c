#include "entry/PageBuilder.h"

#include "store/GbkChars.h"

namespace entry {

namespace {

// One pass: every occurrence of from that starts on a character boundary becomes to.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else {
      // A double-byte character goes over whole, so its second byte never starts a match; a
      // lead byte without a valid second byte stands alone and cannot hide a following "<".
      const std::size_t n = gbk::CharLen(text, i);
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

}  // namespace

std::string EscapeText(std::string_view text) {
  // These three bytes are never the second half of a GBK character.
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string BuildPage(std::string_view title, std::string_view entryText) {
  std::string page(kPageHead);
  page += EscapeText(title);
  page += "</p>";
  page += entryText;
  page += "\r\n";
  page += "<br></div></div></body></html>";
  return page;
}

std::string ExpandMarkup(std::string_view page) {
  std::string out = ReplaceAll(page, "C=", "class=");
  out = ReplaceAll(out, "</S", "</span");
  return ReplaceAll(out, "<S", "<span");
}

int NextPageCounter(int counter) { return counter >= 10 ? 1 : counter + 1; }

std::string PagePathOf(int counter) { return "html/" + std::to_string(counter) + ".html"; }

}  // namespace entry
