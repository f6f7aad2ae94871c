// The builder on small copies of each source format: rows, their order and ids, whole
// entries, what is skipped, and the store files it writes.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "store/StoreTable.h"
#include "store/gob.h"
#include "tests/support/TempDir.h"
#include "tests/tools/SourceFixture.h"
#include "tools/dictbuild/Builder.h"
#include "tools/dictbuild/Ecdict.h"
#include "tools/dictbuild/Excerpt.h"
#include "tools/dictbuild/Text.h"

namespace {

class EnciBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    enci_test::WriteSources(dir_.path() / "src");
    data_ = enci::ReadSources(dir_.path() / "src");
  }
  std::vector<enci::Row> Rows(enci::Counts& counts) { return enci::BuildRows(data_, counts); }
  const enci::Row& Find(const std::vector<enci::Row>& rows, const std::string& title) {
    for (const auto& r : rows) {
      if (r.title == title) return r;
    }
    ADD_FAILURE() << "no row " << title;
    static const enci::Row none;
    return none;
  }

  testsupport::TempWorkDir dir_;
  enci::SourceData data_;
};

TEST_F(EnciBuild, EnglishFirstAlphabeticallyThenChineseInGbkOrder) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  std::vector<std::string> titles;
  for (const auto& r : rows) titles.push_back(r.title);
  // Case-insensitive for English, a word before its longer completions and, of the same
  // letters, the lower-case one first (bank, Bank, Bank of England; debt, Debt); GBK byte
  // order for Chinese (D 0x44, 好 BAC3, 离开 C0EB, 去 C8A5, 行 D0D0, 银 D2F8, 银行 D2F8D0D0,
  // 銀 E379, 銀行 E379D0D0, 離開 EB78E95F).
  const std::vector<std::string> expected = {"bad",
                                             "bank",
                                             "Bank",
                                             "Bank of England",
                                             "banked",
                                             "banking",
                                             "banks",
                                             "best",
                                             "better",
                                             "central bank",
                                             "central banks",
                                             "debt",
                                             "Debt",
                                             "debts",
                                             "go",
                                             "goes",
                                             "going",
                                             "gone",
                                             "good",
                                             "institution",
                                             "institutions",
                                             "leave",
                                             "leaves",
                                             "leaving",
                                             "left",
                                             "the",
                                             "went",
                                             "worse",
                                             "worst",
                                             "D",
                                             "好",
                                             "离开",
                                             "去",
                                             "行",
                                             "银",
                                             "银行",
                                             "銀",
                                             "銀行",
                                             "離開"};
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(counts.english, 29u);
  EXPECT_EQ(counts.chinese, 10u);
}

TEST_F(EnciBuild, CountsWhatGbkCannotHold) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  // The headword 𠮷 is left out; the example "a ʃ sound", the sense "a ʃ line" and bank's
  // web line "银行业；ʃ行" are dropped from their entries.
  EXPECT_EQ(counts.skippedHeadwords, 1u);
  EXPECT_EQ(counts.droppedTexts, 3u);
  for (const auto& r : rows) {
    EXPECT_TRUE(enci::GbkEncodable(r.title)) << r.title;
    EXPECT_TRUE(enci::GbkEncodable(r.entry)) << r.title;
  }
  EXPECT_EQ(Find(rows, "行").entry.find("line"), std::string::npos);
  EXPECT_EQ(Find(rows, "bank").entry.find("银行业"), std::string::npos);
}

TEST_F(EnciBuild, EnglishEntryMarkup) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  EXPECT_EQ(Find(rows, "go").entry,
            "<div C=\"phon\"><S C=\"lbl\">美</S> <S C=\"ipa\">[&#712;ɡo&#650;]</S></div>"
            "<div C=\"trans\"><S C=\"pos\">v.</S> 去</div>"
            "<div C=\"sect\">释义</div>"
            "<div C=\"posh\"><S C=\"pos\">v.</S> 动词</div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> move away from a place <S C=\"zh\">去</S></div>"
            "<div C=\"ex\">go now!</div>"
            "<div C=\"sect\">词形变化</div>"
            "<div C=\"forms\"><S C=\"fl\">过去式</S> <a C=\"fw\" href=\"#went\">went</a> "
            "<S C=\"fl\">过去分词</S> <a C=\"fw\" href=\"#gone\">gone</a> "
            "<S C=\"fl\">现在分词</S> <a C=\"fw\" href=\"#going\">going</a> "
            "<S C=\"fl\">第三人称单数</S> <a C=\"fw\" href=\"#goes\">goes</a></div>"
            "<div C=\"sect\">用法</div>"
            "<div C=\"usage\">Somebody goes</div>");
  // Antonyms, plural and phrases of a noun.
  const std::string& bank = Find(rows, "bank").entry;
  EXPECT_NE(bank.find("<div C=\"ant\"><S C=\"pos\">n.</S> debt</div>"), std::string::npos);
  EXPECT_NE(bank.find("<S C=\"fl\">复数</S> <a C=\"fw\" href=\"#banks\">banks</a>"),
            std::string::npos);
  EXPECT_NE(bank.find("<div C=\"phr\"><S C=\"pw\">Bank of England</S>"), std::string::npos);
  EXPECT_NE(Find(rows, "good")
                .entry.find("<S C=\"fl\">比较级</S> <a C=\"fw\" "
                            "href=\"#better\">better</a>"),
            std::string::npos);
}

TEST_F(EnciBuild, ChineseEntryMarkup) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  EXPECT_EQ(Find(rows, "银").entry,
            "<div C=\"phon\"><S C=\"py\">[yín]</S> <S C=\"fl\">繁体</S> <S C=\"trad\">銀</S></div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> silver</div>"
            "<div C=\"sect\">词组</div>"
            "<div C=\"phr\"><S C=\"pw\">银行</S> <S C=\"py\">yín háng</S> "
            "<S C=\"pd\">bank</S></div>");
  // Readings merged under one headword; classifiers and variants.
  EXPECT_EQ(Find(rows, "行").entry,
            "<div C=\"phon\"><S C=\"py\">[xíng]</S></div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> to walk</div>"
            "<div C=\"sense\"><S C=\"num\">2.</S> OK; all right</div>"
            "<div C=\"phon\"><S C=\"py\">[háng]</S></div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> row</div>");
  // The English headword it translates, with the sense it stands for.
  EXPECT_EQ(Find(rows, "银行").entry,
            "<div C=\"phon\"><S C=\"py\">[yín háng]</S> <S C=\"fl\">繁体</S> "
            "<S C=\"trad\">銀行</S></div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> bank</div>"
            "<div C=\"cl\"><S C=\"fl\">量词</S> 家(jiā)</div>"
            "<div C=\"sect\">英文释义</div>"
            "<div C=\"phr\"><S C=\"pw\">bank</S> <S C=\"pos\">n.</S> "
            "<S C=\"pd\">a financial institution that accepts deposits</S></div>");
  EXPECT_NE(Find(rows, "去")
                .entry.find("<div C=\"sect\">英文释义</div>"
                            "<div C=\"phr\"><S C=\"pw\">go</S> "
                            "<S C=\"pos\">v.</S> <S C=\"pd\">move away from a "
                            "place</S></div>"),
            std::string::npos);
  EXPECT_NE(Find(rows, "好").entry.find("<div C=\"var\"><S C=\"fl\">异体</S> 好[hào]</div>"),
            std::string::npos);
}

// 打's own glosses first, in their order, a restricted one last; then a word whose sense
// the English side glosses with 打; never a word that has nothing to do with it.
TEST(EnciEquivalents, MostPreciseFirst) {
  enci::SourceData data;
  const struct {
    std::uint64_t offset;
    const char* words;
    const char* definition;
  } synsets[] = {
      {1, "beat", "give a beating to"},    {2, "strike hit", "deal a blow to"},
      {3, "play", "participate in games"}, {4, "play", "act a role"},
      {5, "silver", "a soft white metal"},
  };
  for (const auto& s : synsets) {
    enci::Synset syn;
    syn.pos = s.offset == 5 ? enci::Pos::Noun : enci::Pos::Verb;
    std::istringstream words(s.words);
    for (std::string w; words >> w;) syn.words.push_back(w);
    syn.definition = s.definition;
    data.wordnet.synsets.emplace(enci::SynsetKey(syn.pos, s.offset), syn);
  }
  auto lemma = [&data](const char* w, enci::Pos pos, std::vector<std::uint64_t> offsets) {
    enci::Lemma l{w, pos, {}};
    for (auto o : offsets) l.synsets.push_back(enci::SynsetKey(pos, o));
    data.wordnet.lemmas.push_back(l);
  };
  lemma("beat", enci::Pos::Verb, {1});
  lemma("strike", enci::Pos::Verb, {2});
  lemma("hit", enci::Pos::Verb, {2});
  lemma("play", enci::Pos::Verb, {3, 4});
  lemma("silver", enci::Pos::Noun, {5});
  data.cedict.push_back({"打", "打", "da3", {"to beat; to strike", "(dialect) to play"}, {}, {}});
  data.cedict.push_back({"銀", "银", "yin2", {"silver"}, {}, {}});

  enci::Counts counts;
  std::string entry;
  for (const auto& r : enci::BuildRows(data, counts)) {
    if (r.title == "打") entry = r.entry;
  }
  const auto at = entry.find("<div C=\"sect\">英文释义</div>");
  ASSERT_NE(at, std::string::npos) << entry;
  std::vector<std::string> listed;
  const std::regex word("<S C=\"pw\">([^<]+)</S>");
  for (std::sregex_iterator it(entry.begin() + static_cast<std::ptrdiff_t>(at), entry.end(), word),
       end;
       it != end; ++it) {
    listed.push_back((*it)[1]);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"beat", "strike", "hit", "play"}));
  // hit is there for its sense "deal a blow to", and shows that sense.
  EXPECT_NE(entry.find("<S C=\"pw\">hit</S> <S C=\"pos\">v.</S> <S C=\"pd\">deal a blow "
                       "to</S>"),
            std::string::npos);
}

// Styled for the element it is written on: the sheet's rules name their elements.
TEST_F(EnciBuild, EveryClassTheEntriesUseIsStyled) {
  enci::Counts counts;
  std::set<std::string> used = {"div.post", "div.content", "p.word"};
  const std::regex cls("<([A-Za-z]+) C=\"([a-z]+)\"");
  for (const auto& r : Rows(counts)) {
    for (std::sregex_iterator it(r.entry.begin(), r.entry.end(), cls), end; it != end; ++it) {
      const std::string element = (*it)[1];
      used.insert((element == "S" ? "span" : element) + "." + (*it)[2].str());
    }
  }
  EXPECT_GT(used.size(), 10u);
  const std::string css = enci::StyleSheet();
  for (const auto& c : used) EXPECT_NE(css.find("\n" + c + " {"), std::string::npos) << c;
}

TEST_F(EnciBuild, WritesKeyedIndexPlainEntriesStyleSheetAndNotices) {
  const auto out = dir_.path() / "dist";
  const enci::Written w = enci::WriteDictionary(data_, out);
  EXPECT_EQ(w.rows, 39u);
  std::filesystem::current_path(out);

  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  const auto rows = index.GetTable("SELECT * FROM enci order by id asc");
  ASSERT_EQ(rows->Count(), 39);
  std::vector<long long> ids;
  std::vector<std::string> titles;
  for (; !rows->Eof(); rows->Next()) {
    ids.push_back(std::stoll(rows->FieldAsString(rows->FieldIndex("id"))));
    titles.push_back(rows->FieldAsString(rows->FieldIndex("title")));
  }
  EXPECT_EQ(titles.front(), "bad");
  EXPECT_EQ(titles.back(), "\xEB\x78\xE9\x5F");  // 離開 in GBK
  // A small dictionary spreads its ids so that the start-up listing finds rows.
  EXPECT_EQ(ids.front(), 1);
  EXPECT_GE(ids.back(), 60000);
  EXPECT_LE(ids.back(), 99999999);

  // Every listed id has its entry, looked up by the quoted text as the program does.
  TSQLiteDatabase entries(EntryStoreName, EntryStoreKey);
  for (const auto id : ids) {
    const auto e =
        entries.GetTable("SELECT * FROM enci where id='" + std::to_string(id) + "' limit 1");
    EXPECT_EQ(e->Count(), 1) << id;
  }
  const auto last =
      entries.GetTable("SELECT * FROM enci where id='" + std::to_string(ids.back()) + "' limit 1");
  enci::Counts counts;
  EXPECT_EQ(last->FieldAsString(last->FieldIndex("a")),
            enci::ToGbk(Find(Rows(counts), "離開").entry));

  // The index store does not open under another key.
  TSQLiteDatabase wrong(IndexStoreName, "abcd0000000Z");
  EXPECT_THROW(wrong.GetTable("SELECT * FROM enci"), ESQLiteException);

  std::ifstream css(out / "html" / "encd.css");
  std::stringstream text;
  text << css.rdbuf();
  EXPECT_EQ(text.str(), enci::StyleSheet());
  EXPECT_TRUE(std::filesystem::file_size(out / "NOTICES.txt") > 0);
}

TEST(EcdictCsv, QuotedFieldsLineBreaksEscapesAndEmptyFields) {
  const auto rows = enci::ParseCsv(
      "a,\"b, c\",\"two\nlines\",\"say \"\"hi\"\"\",,\r\n"
      "\n"
      "last,row");
  const std::vector<std::vector<std::string>> expected = {
      {"a", "b, c", "two\nlines", "say \"hi\"", "", ""}, {"last", "row"}};
  EXPECT_EQ(rows, expected);
  // An unclosed quote reads to the end instead of failing.
  EXPECT_EQ(enci::ParseCsv("x,\"open, still"),
            (std::vector<std::vector<std::string>>{{"x", "open, still"}}));

  // Columns found by name; the text fields' \n, \r and \\ escapes undone; a row without a
  // word left out; numbers that are not numbers read as 0.
  const auto entries = enci::ParseEcdict(
      "translation,word,exchange,frq,collins,oxford,tag,phonetic\n"
      "\"n. 书\\r\\nv. 预订, 登记\",book,s:books/d:booked/0:,12,x,1,zk gk,buk\n"
      "\"n. 无\",,,,,,,\n"
      "a\\\\b,went,0:go/1:p,0,,,,\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].word, "book");
  EXPECT_EQ(entries[0].translation, "n. 书\nv. 预订, 登记");
  EXPECT_EQ(entries[0].frq, 12);
  EXPECT_EQ(entries[0].collins, 0);
  EXPECT_TRUE(entries[0].oxford);
  EXPECT_EQ(entries[0].tags, "zk gk");
  EXPECT_EQ(entries[0].phonetic, "buk");
  EXPECT_EQ(entries[1].translation, "a\\b");
  EXPECT_EQ(enci::ParseExchange(entries[0].exchange),
            (std::vector<std::pair<char, std::string>>{{'s', "books"}, {'d', "booked"}}));
  EXPECT_EQ(enci::ParseExchange(entries[1].exchange),
            (std::vector<std::pair<char, std::string>>{{'0', "go"}, {'1', "p"}}));
  EXPECT_THROW(enci::ParseEcdict("name,translation\nx,y\n"), std::runtime_error);
}

// One row per headword: bank from WordNet, ECDICT and CMUdict in one entry, ECDICT's
// Chinese first; Bank a row of its own; Debt, ECDICT's writing of WordNet's debt, holds the
// whole entry as debt does.
TEST_F(EnciBuild, MergesTheSourcesByHeadword) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  const std::string& bank = Find(rows, "bank").entry;
  EXPECT_EQ(bank.rfind("<div C=\"phon\"><S C=\"lbl\">英</S> <S C=\"ipa\">[b&#230;&#331;k]</S> "
                       "<S C=\"lbl\">美</S> <S C=\"ipa\">[&#712;b&#230;&#331;k]</S></div>"
                       "<div C=\"tags\"><S C=\"tag\">中考</S> <S C=\"tag\">高考</S> "
                       "<S C=\"tag\">四级</S> <S C=\"star\">★★★★</S> <S C=\"tag\">牛津3000</S> "
                       "<S C=\"tag\">词频前1000</S></div>"
                       "<div C=\"trans\"><S C=\"pos\">n.</S> 银行；岸</div>"
                       "<div C=\"trans\"><S C=\"pos\">vt.</S> 存入银行</div>"
                       "<div C=\"sect\">释义</div>",
                       0),
            0u)
      << bank;
  EXPECT_EQ(Find(rows, "Bank").entry.find("银行"), std::string::npos);
  EXPECT_NE(Find(rows, "Bank").entry.find("班克"), std::string::npos);
  for (const char* debt : {"debt", "Debt"}) {
    const std::string& e = Find(rows, debt).entry;
    EXPECT_EQ(e.rfind("<div C=\"trans\"><S C=\"pos\">n.</S> 债务</div>", 0), 0u) << debt;
    EXPECT_NE(e.find("money owed"), std::string::npos) << debt;
  }
  // A function word WordNet lacks, with ECDICT's definition joined across its lines.
  EXPECT_NE(Find(rows, "the")
                .entry.find("<div C=\"trans\"><S C=\"pos\">art.</S> 这, 那</div>"
                            "<div C=\"sect\">释义</div><div C=\"sense\"><S "
                            "C=\"num\">1.</S> definite article. A word placed "
                            "before nouns to limit or individualize their "
                            "meaning.</div>"),
            std::string::npos);
  EXPECT_EQ(counts.merged, 2u);      // bank, Debt
  EXPECT_EQ(counts.ecdictOnly, 5u);  // Bank, leave, left, the, went
}

// Every form is a headword that says what it is of and links there, followed by its own
// translation; left is both leave's past and a word of its own.
TEST_F(EnciBuild, WordFormsLeadToTheirWords) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  EXPECT_EQ(Find(rows, "went").entry,
            "<div C=\"phon\"><S C=\"lbl\">英</S> <S C=\"ipa\">[went]</S></div>"
            "<div C=\"formof\"><a C=\"fw\" href=\"#go\">go</a> 的过去式</div>");
  EXPECT_EQ(Find(rows, "left").entry,
            "<div C=\"phon\"><S C=\"lbl\">英</S> <S C=\"ipa\">[left]</S></div>"
            "<div C=\"formof\"><a C=\"fw\" href=\"#leave\">leave</a> 的过去式和过去分词</div>"
            "<div C=\"tags\"><S C=\"tag\">中考</S> <S C=\"star\">★★★</S> "
            "<S C=\"tag\">牛津3000</S> <S C=\"tag\">词频前1000</S></div>"
            "<div C=\"trans\"><S C=\"pos\">a.</S> 左边的</div>");
  EXPECT_EQ(Find(rows, "leaves").entry,
            "<div C=\"formof\"><a C=\"fw\" href=\"#leave\">leave</a> 的复数和第三人称单数</div>");
  EXPECT_EQ(Find(rows, "better").entry,
            "<div C=\"formof\"><a C=\"fw\" href=\"#good\">good</a> 的比较级</div>");
  // Every link leads to a row.
  std::set<std::string> titles;
  for (const auto& r : rows) titles.insert(r.title);
  const std::regex link("href=\"#([^\"]+)\"");
  std::size_t links = 0;
  for (const auto& r : rows) {
    for (std::sregex_iterator it(r.entry.begin(), r.entry.end(), link), end; it != end; ++it) {
      EXPECT_TRUE(titles.count((*it)[1])) << r.title << " -> " << (*it)[1];
      ++links;
    }
  }
  EXPECT_GT(links, 30u);
  // banked, banking, banks, best, better, central banks, debts, goes, going, gone,
  // institutions, leaves, leaving, worse, worst.
  EXPECT_EQ(counts.formHeadwords, 15u);
  EXPECT_EQ(counts.formLinks, 17u);  // and went, left, which the sources give
}

// A traditional form is a headword leading to its simplified one; a Chinese word lists
// the English words whose ECDICT translations name it.
TEST_F(EnciBuild, TraditionalFormsAndEcdictTranslationsInChineseEntries) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  EXPECT_EQ(Find(rows, "銀行").entry,
            "<div C=\"formof\"><a C=\"fw\" href=\"#银行\">银行</a> 的繁体</div>"
            "<div C=\"phon\"><S C=\"py\">[yín háng]</S></div>"
            "<div C=\"sense\"><S C=\"num\">1.</S> bank</div>");
  EXPECT_EQ(counts.traditional, 3u);  // 銀, 銀行, 離開
  EXPECT_EQ(counts.traditionalLinks, 3u);
  EXPECT_NE(Find(rows, "离开")
                .entry.find("<div C=\"sect\">英文释义</div>"
                            "<div C=\"phr\"><S C=\"pw\">leave</S> <S "
                            "C=\"pos\">vt.</S> <S C=\"pd\">离开</S></div>"),
            std::string::npos);
}

TEST_F(EnciBuild, ExcerptKeepsWhatTheListedWordsNeed) {
  enci_test::WriteText(dir_.path() / "words.txt", "# sample\nbank\n银\nleft\n");
  enci::WriteExcerpt(dir_.path() / "words.txt", dir_.path() / "src", dir_.path() / "excerpt");
  const auto excerpt = enci::ReadSources(dir_.path() / "excerpt");
  enci::Counts counts;
  std::vector<std::string> titles;
  for (const auto& r : enci::BuildRows(excerpt, counts)) titles.push_back(r.title);
  // bank with its phrase, its forms and the synsets it points to (not headwords
  // themselves); ECDICT's rows of bank and Bank, of left and of leave, the word left is a
  // form of, with its forms; 银 with the headword that begins with it, and 银行 again as the
  // translation of "bank", both with their traditional forms.
  const std::vector<std::string> expected = {
      "bank",  "Bank",   "Bank of England", "banked", "banking", "banks",
      "leave", "leaves", "leaving",         "left",   "银",      "银行",
      "銀",    "銀行"};
  EXPECT_EQ(titles, expected);
  std::vector<std::string> ecdict;
  for (const auto& e : excerpt.ecdict) ecdict.push_back(e.word);
  EXPECT_EQ(ecdict, (std::vector<std::string>{"Bank", "bank", "leave", "left"}));
  EXPECT_EQ(excerpt.ecdict[1].translation, data_.ecdict[1].translation);
  EXPECT_EQ(excerpt.pronunciations.count("bank"), 1u);
  EXPECT_EQ(excerpt.pronunciations.count("go"), 0u);
  ASSERT_EQ(excerpt.cedict.front().simplified, "银行");
  EXPECT_EQ(excerpt.cedict.front().classifiers.size(), 1u);  // the lookup list travels along
}

}  // namespace
