// Text helpers of the dictionary builder: pinyin, IPA, escaping, word forms, ids.

#include <gtest/gtest.h>

#include <string>

#include "tools/dictbuild/Builder.h"
#include "tools/dictbuild/Text.h"
#include "tools/dictbuild/WordForms.h"

namespace {

TEST(PinyinMarks, PlacesTheToneOnTheRightVowel) {
  const struct {
    const char* numbered;
    const char* marked;
  } cases[] = {
      {"ping2 guo3", "píng guǒ"},  // a, then o alone
      {"xiao3", "xiǎo"},           // a before i and o
      {"lu:e4", "lüè"},            // e wins over ü
      {"dou4", "dòu"},             // ou: the o
      {"liu2", "liú"},             // iu: the last vowel
      {"gui4", "guì"},             // ui: the last vowel
      {"nu:3", "nǚ"},              // ü written u:
      {"lv4", "lǜ"},               // ü written v
      {"de5", "de"},               // neutral tone
      {"ma", "ma"},                // no tone number
      {"Zhong1 guo2", "Zhōng guó"},
      {"Ou1 zhou1", "Ōu zhōu"},  // capital vowel keeps its case
      {"E4", "È"},
      {"r5", "r"},
      {"san1 C", "sān C"},  // a Latin letter stays
  };
  for (const auto& c : cases) EXPECT_EQ(enci::PinyinMarks(c.numbered), c.marked) << c.numbered;
}

TEST(ArpabetToIpa, WritesPhonesAndStressBeforeTheSyllable) {
  const struct {
    const char* arpabet;
    const char* ipa;
  } cases[] = {
      {"B AE1 NG K", "ˈbæŋk"},
      {"AH0 B AW1 T", "əˈbaʊt"},                       // unstressed AH is a schwa
      {"K AH0 M P Y UW1 T ER0", "kəmˈpjutɚ"},          // legal onset "py", not "mpy"
      {"IH2 N F ER0 M EY1 SH AH0 N", "ˌɪnfɚˈmeɪʃən"},  // secondary stress
      {"D IH0 S T R OY1", "dɪˈstrɔɪ"},                 // three-consonant onset
      {"EH1 K S T R AH0", "ˈɛkstrə"},
      {"TH IH1 NG Z", "ˈθɪŋz"},
      {"JH AH1 DH ER0", "ˈdʒʌðɚ"},
  };
  for (const auto& c : cases) EXPECT_EQ(enci::ArpabetToIpa(c.arpabet), c.ipa) << c.arpabet;
}

TEST(EscapeText, ContentCanNeverFormMarkup) {
  EXPECT_EQ(enci::EscapeText("a<b>&c"), "a&lt;b&gt;&amp;c");
  // "C=" would be expanded to "class=" in the page.
  EXPECT_EQ(enci::EscapeText("C=3; x = y"), "C&#61;3; x &#61; y");
  EXPECT_EQ(enci::EscapeText("</S><S"), "&lt;/S&gt;&lt;S");
  EXPECT_EQ(enci::EscapeText("中文"), "中文");
  // What GBK cannot hold becomes a character reference, the rest stays as it is.
  EXPECT_EQ(enci::EscapeWithReferences("ə中ǖ"), "&#601;中ǖ");
}

TEST(Gbk, TellsWhatGbkCanHold) {
  EXPECT_TRUE(enci::GbkEncodable("bank 银行 銀行 ü é"));
  EXPECT_FALSE(enci::GbkEncodable("ʃ"));
  EXPECT_FALSE(enci::GbkEncodable("\xf0\xa0\xae\xb7"));  // outside the BMP
  EXPECT_EQ(enci::ToGbk("银行"), "\xD2\xF8\xD0\xD0");
  EXPECT_THROW(enci::ToGbk("ʃ"), std::runtime_error);
  EXPECT_EQ(enci::Rarity("银行"), 0);
  EXPECT_GT(enci::Rarity("澨"), enci::Rarity("岸"));
}

enci::Exceptions SampleExceptions() {
  enci::Exceptions exc;
  exc.noun["child"] = {"children"};
  exc.verb["go"] = {"gone", "went"};
  exc.verb["begin"] = {"began", "beginning", "begun"};
  exc.verb["see"] = {"saw", "seen"};
  exc.verb["make"] = {"made"};
  exc.verb["stop"] = {"stopped", "stopping"};
  exc.verb["give"] = {"gave", "given"};
  exc.verb["run"] = {"ran", "running"};
  exc.verb["come"] = {"came"};
  exc.verb["show"] = {"shown"};
  exc.verb["beat"] = {"beaten"};
  exc.verb["prove"] = {"proven"};
  exc.verb["win"] = {"won", "winning"};
  exc.adj["good"] = {"best", "better"};
  exc.adj["big"] = {"bigger", "biggest"};
  exc.adv["well"] = {"better", "best"};
  return exc;
}

TEST(WordForms, NounPlurals) {
  const auto exc = SampleExceptions();
  const struct {
    const char* noun;
    const char* plural;
  } cases[] = {
      {"child", "children"}, {"bus", "buses"},
      {"city", "cities"},    {"box", "boxes"},
      {"day", "days"},       {"church", "churches"},
      {"glass", "glasses"},  {"central bank", "central banks"},
      {"trousers", ""},  // already plural
      {"China", ""},     // a name
  };
  for (const auto& c : cases) EXPECT_EQ(enci::NounPlural(c.noun, exc), c.plural) << c.noun;
}

TEST(WordForms, VerbForms) {
  const auto exc = SampleExceptions();
  const struct {
    const char* verb;
    enci::VerbForms forms;
  } cases[] = {
      {"go", {"goes", "went", "gone", "going"}},
      {"begin", {"begins", "began", "begun", "beginning"}},
      {"see", {"sees", "saw", "seen", "seeing"}},
      {"make", {"makes", "made", "made", "making"}},
      {"stop", {"stops", "stopped", "stopped", "stopping"}},
      {"carry", {"carries", "carried", "carried", "carrying"}},
      {"die", {"dies", "died", "died", "dying"}},
      {"watch", {"watches", "watched", "watched", "watching"}},
      {"give up", {"gives up", "gave up", "given up", "giving up"}},
      {"be", {"is", "was, were", "been", "being"}},
      // Forms equal to the bare verb or regular ones are not in the lists.
      {"run", {"runs", "ran", "run", "running"}},
      {"come", {"comes", "came", "come", "coming"}},
      {"show", {"shows", "showed", "shown", "showing"}},
      {"beat", {"beats", "beat", "beaten", "beating"}},
      {"prove", {"proves", "proved", "proven", "proving"}},
      {"win", {"wins", "won", "won", "winning"}},
  };
  for (const auto& c : cases) {
    const auto v = enci::VerbFormsOf(c.verb, exc);
    EXPECT_EQ(v.third, c.forms.third) << c.verb;
    EXPECT_EQ(v.past, c.forms.past) << c.verb;
    EXPECT_EQ(v.pastParticiple, c.forms.pastParticiple) << c.verb;
    EXPECT_EQ(v.presentParticiple, c.forms.presentParticiple) << c.verb;
  }
}

TEST(WordForms, ComparativesAndSuperlatives) {
  const auto exc = SampleExceptions();
  const struct {
    const char* adjective;
    const char* comparative;
    const char* superlative;
  } cases[] = {
      {"good", "better", "best"},
      {"big", "bigger", "biggest"},
      {"happy", "happier", "happiest"},
      {"large", "larger", "largest"},
      {"fast", "faster", "fastest"},
      {"beautiful", "", ""},  // graded with "more", not inflected
      {"tired", "", ""},
      {"go", "", ""},  // "all systems are go"
      {"free", "freer", "freest"},
  };
  for (const auto& c : cases) {
    const auto g = enci::AdjectiveForms(c.adjective, exc);
    EXPECT_EQ(g.comparative, c.comparative) << c.adjective;
    EXPECT_EQ(g.superlative, c.superlative) << c.adjective;
  }
  EXPECT_EQ(enci::AdverbForms("well", exc).comparative, "better");
  EXPECT_EQ(enci::AdverbForms("quickly", exc).comparative, "");
}

TEST(IdStep, SmallDictionariesReachTheStartUpListing) {
  // The last id of n rows is 1 + (n - 1) * step; the listing asks for ids above 59999 at most.
  for (std::size_t rows : {2u, 15u, 605u, 59999u, 60000u, 267476u}) {
    const auto step = enci::IdStep(rows);
    EXPECT_GE(1 + static_cast<std::int64_t>(rows - 1) * step, 60000) << rows;
    EXPECT_LE(1 + static_cast<std::int64_t>(rows - 1) * step, 99999999) << rows;
  }
  EXPECT_EQ(enci::IdStep(267476), 1);
}

}  // namespace
