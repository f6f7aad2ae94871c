// The bytes of an entry page, its markup expansion and the page ring.

#include <gtest/gtest.h>

#include "entry/PageBuilder.h"
#include "ui/Gbk.h"

namespace {

TEST(PageBuilder, PageIsTheTemplateAroundHeadwordAndEntry) {
  ASSERT_EQ(entry::kPageHead.size(), 231u);
  const std::string page = entry::BuildPage("apple", "<S C=\"a\">x</S>");
  EXPECT_EQ(page,
            "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=gbk\">"
            "<link href=\"./encd.css\" rel=\"stylesheet\" type=\"text/css\" /></head><body>\t"
            "<div class=\"post\"><div class=\"content\" style=\"padding-top:2px;\">\r\n"
            "<p class=\"word\">apple</p><S C=\"a\">x</S>\r\n<br></div></div></body></html>");
}

TEST(PageBuilder, HeadwordIsEscapedAsTextButTheEntryStaysMarkup) {
  // Escaping the headword is a deliberate fix: a headword is text, never markup.
  const std::string page = entry::BuildPage("R&D <x>", "<b>&amp;</b>");
  EXPECT_NE(page.find("<p class=\"word\">R&amp;D &lt;x&gt;</p><b>&amp;</b>\r\n"),
            std::string::npos);
  EXPECT_EQ(entry::EscapeText(ui::Gbk("苹果&")), ui::Gbk("苹果") + "&amp;");
}

TEST(PageBuilder, ExpansionPasses) {
  // A GBK character whose second byte is "C" (0x43), here 0x81 0x43, followed by "=".
  const std::string trailC = "\x81\x43=";
  const struct {
    std::string in, out;
  } cases[] = {
      {"<S C=x>y</S>", "<span class=x>y</span>"},
      {"<s c=x>y</s>", "<s c=x>y</s>"},  // case-sensitive
      {trailC, trailC},
      {"a" + trailC + "C=", "a" + trailC + "class="},
      {"CC==", "Cclass=="},      // no rescan of what was put in
      {"</S<S", "</span<span"},  // "</S" goes first, so its "S" is not met again
      {"C=C=", "class=class="},
      // A first byte without a valid second byte is a character of its own.
      {"\x81<S C=x>\xFE</S>", "\x81<span class=x>\xFE</span>"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(entry::ExpandMarkup(c.in), c.out) << c.in;
}

TEST(PageBuilder, HeadwordMarkupIsExpandedInThePageOnly) {
  const std::string page = entry::ExpandMarkup(entry::BuildPage("C=3", ""));
  EXPECT_NE(page.find("<p class=\"word\">class=3</p>"), std::string::npos);
}

TEST(PageBuilder, RingOfTenFiles) {
  const struct {
    int counter, next;
    const char* path;
  } cases[] = {{0, 1, "html/1.html"},
               {1, 2, "html/2.html"},
               {9, 10, "html/10.html"},
               {10, 1, "html/1.html"}};
  for (const auto& c : cases) {
    EXPECT_EQ(entry::NextPageCounter(c.counter), c.next);
    EXPECT_EQ(entry::PagePathOf(c.next), c.path);
  }
}

}  // namespace
