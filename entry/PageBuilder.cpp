#include "entry/PageBuilder.h"

namespace entry {

namespace {

// A first byte 0x81-0xFE followed by a second byte 0x40-0xFE. A first byte without a
// valid second one stands alone, so it cannot hide a "<" or "/" that follows it.
bool IsDoubleByte(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size()) return false;
  const auto lead = static_cast<unsigned char>(text[i]);
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE;
}

// One pass: every occurrence of from that starts on a character boundary becomes to.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else if (IsDoubleByte(text, i)) {
      // A double-byte character goes over whole, so its second byte never starts a match.
      out.append(text.substr(i, 2));
      i += 2;
    } else {
      out += text[i];
      ++i;
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
