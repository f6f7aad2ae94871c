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
  // Case-insensitive for English ("Bank of England" between "bank" and "central bank");
  // GBK byte order for Chinese (D 0x44, 好 BAC3, 去 C8A5, 行 D0D0, 银 D2F8, 银行 D2F8D0D0).
  const std::vector<std::string> expected = {"bad",          "bank",        "Bank of England",
                                             "central bank", "debt",        "go",
                                             "good",         "institution", "D",
                                             "好",           "去",          "行",
                                             "银",           "银行"};
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(counts.english, 8u);
  EXPECT_EQ(counts.chinese, 6u);
}

TEST_F(EnciBuild, CountsWhatGbkCannotHold) {
  enci::Counts counts;
  const auto rows = Rows(counts);
  // The headword 𠮷 is left out; the example "a ʃ sound" and the sense "a ʃ line" are
  // dropped from their entries.
  EXPECT_EQ(counts.skippedHeadwords, 1u);
  EXPECT_EQ(counts.droppedTexts, 2u);
  for (const auto& r : rows) {
    EXPECT_TRUE(enci::GbkEncodable(r.title)) << r.title;
    EXPECT_TRUE(enci::GbkEncodable(r.entry)) << r.title;
  }
  EXPECT_EQ(Find(rows, "行").entry.find("line"), std::string::npos);
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
            "<div C=\"forms\"><S C=\"fl\">第三人称单数</S> goes <S C=\"fl\">过去式</S> went "
            "<S C=\"fl\">过去分词</S> gone <S C=\"fl\">现在分词</S> going</div>"
            "<div C=\"sect\">用法</div>"
            "<div C=\"usage\">Somebody goes</div>");
  // Antonyms, plural and phrases of a noun.
  const std::string& bank = Find(rows, "bank").entry;
  EXPECT_NE(bank.find("<div C=\"ant\"><S C=\"pos\">n.</S> debt</div>"), std::string::npos);
  EXPECT_NE(bank.find("<S C=\"fl\">复数</S> banks"), std::string::npos);
  EXPECT_NE(bank.find("<div C=\"phr\"><S C=\"pw\">Bank of England</S>"), std::string::npos);
  EXPECT_NE(Find(rows, "good").entry.find("<S C=\"fl\">比较级</S> better"), std::string::npos);
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
            "<div C=\"cl\"><S C=\"fl\">量词</S> 家[jiā]</div>"
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

TEST_F(EnciBuild, EveryClassTheEntriesUseIsStyled) {
  enci::Counts counts;
  std::set<std::string> used = {"post", "content", "word"};
  const std::regex cls("C=\"([a-z]+)\"");
  for (const auto& r : Rows(counts)) {
    for (std::sregex_iterator it(r.entry.begin(), r.entry.end(), cls), end; it != end; ++it) {
      used.insert((*it)[1]);
    }
  }
  const std::string css = enci::StyleSheet();
  for (const auto& c : used) EXPECT_NE(css.find("." + c + " {"), std::string::npos) << c;
}

TEST_F(EnciBuild, WritesKeyedIndexPlainEntriesStyleSheetAndNotices) {
  const auto out = dir_.path() / "dist";
  const enci::Written w = enci::WriteDictionary(data_, out);
  EXPECT_EQ(w.rows, 14u);
  std::filesystem::current_path(out);

  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  const auto rows = index.GetTable("SELECT * FROM enci order by id asc");
  ASSERT_EQ(rows->Count(), 14);
  std::vector<long long> ids;
  std::vector<std::string> titles;
  for (; !rows->Eof(); rows->Next()) {
    ids.push_back(std::stoll(rows->FieldAsString(rows->FieldIndex("id"))));
    titles.push_back(rows->FieldAsString(rows->FieldIndex("title")));
  }
  EXPECT_EQ(titles.front(), "bad");
  EXPECT_EQ(titles.back(), "\xD2\xF8\xD0\xD0");  // 银行 in GBK
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
            enci::ToGbk(Find(Rows(counts), "银行").entry));

  // The index store does not open under another key.
  TSQLiteDatabase wrong(IndexStoreName, "abcd0000000Z");
  EXPECT_THROW(wrong.GetTable("SELECT * FROM enci"), ESQLiteException);

  std::ifstream css(out / "html" / "encd.css");
  std::stringstream text;
  text << css.rdbuf();
  EXPECT_EQ(text.str(), enci::StyleSheet());
  EXPECT_TRUE(std::filesystem::file_size(out / "NOTICES.txt") > 0);
}

TEST_F(EnciBuild, ExcerptKeepsWhatTheListedWordsNeed) {
  enci_test::WriteText(dir_.path() / "words.txt", "# sample\nbank\n银\n");
  enci::WriteExcerpt(dir_.path() / "words.txt", dir_.path() / "src", dir_.path() / "excerpt");
  const auto excerpt = enci::ReadSources(dir_.path() / "excerpt");
  enci::Counts counts;
  std::vector<std::string> titles;
  for (const auto& r : enci::BuildRows(excerpt, counts)) titles.push_back(r.title);
  // bank with its phrase and the synsets it points to (not headwords themselves), 银 with the
  // headword that begins with it, and 银行 again as the translation of "bank".
  const std::vector<std::string> expected = {"bank", "Bank of England", "银", "银行"};
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(excerpt.pronunciations.count("bank"), 1u);
  EXPECT_EQ(excerpt.pronunciations.count("go"), 0u);
  ASSERT_EQ(excerpt.cedict.front().simplified, "银行");
  EXPECT_EQ(excerpt.cedict.front().classifiers.size(), 1u);  // the lookup list travels along
}

}  // namespace
