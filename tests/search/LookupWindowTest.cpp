// The look-up through the main window: searches, the result list and the entry page, over
// fixture stores in a temporary working folder, with faked platform services.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTextDocument>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>

#include "app/ErrorHandler.h"
#include "app/Site.h"
#include "app/lexora.h"
#include "store/gob.h"
#include "tests/support/Fakes.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/Controls.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureRow;
using ui::Gbk;

const QColor kNavy(0, 0, 128);
const QColor kRed(255, 0, 0);

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// What a fill or an entry may change, captured to show that something changed nothing.
struct Snapshot {
  std::vector<std::string> ids;
  int recNo;
  std::string currentEntryId, currentWord, pagePath;
  int pageCounter;
  QString caption, label2, view;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << "ids " << testing::PrintToString(s.ids) << ", row " << s.recNo << ", entry "
      << s.currentEntryId << " " << s.currentWord << ", page " << s.pageCounter << " " << s.pagePath
      << ", caption " << s.caption.toStdString() << ", label " << s.label2.toStdString();
}

class LookupWindow : public ::testing::Test {
 protected:
  void Open(const std::vector<FixtureRow>& rows) {
    LookupState = TLookupState{};
    testsupport::WriteFixtureStores(rows);
    ui::WriteFileBytes("ado.dll", "ok");
    fs::create_directory("html");
    TServices services;
    services.dialogs = &dialogs;
    services.urls = &urls;
    services.seed = [] { return 0u; };  // draws n = 0: the start-up lists every id above 0
    services.exePath = QCoreApplication::applicationFilePath().toStdString();
    w = std::make_unique<Tflexora>(services);
  }

  void Type(const char* utf8) { w->Edit1->setText(QString::fromUtf8(utf8)); }

  void Quick(QRadioButton* mode, const char* utf8) {
    mode->setChecked(true);
    w->eso->setText(QString::fromUtf8(utf8));
    w->Button1->click();
  }

  void ClickRow(int row) {
    const QRect cell = w->DBGridEh1->visualRect(w->ClientDataSet1->index(row, 1));
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(w->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
  }

  std::vector<std::string> Ids() const {
    std::vector<std::string> ids;
    for (int r = 0; r < w->ClientDataSet1->RecordCount(); ++r) {
      ids.push_back(w->ClientDataSet1->Value(r, 0));
    }
    return ids;
  }

  Snapshot Take() const {
    return {Ids(),
            w->ClientDataSet1->RecNo(),
            LookupState.CurrentEntryId,
            LookupState.CurrentWord,
            LookupState.PagePath,
            LookupState.PageCounter,
            w->GroupBox2->title(),
            w->Label2->text(),
            w->EmbeddedWB1->toPlainText()};
  }

  QColor Label2Color() const { return w->Label2->palette().color(QPalette::WindowText); }

  testsupport::TempWorkDir dir;
  testsupport::FakeDialogs dialogs;
  testsupport::FakeUrlOpener urls;
  std::unique_ptr<Tflexora> w;
};

const std::vector<FixtureRow> kBank = {{1200, "bank", "<S C=\"d\">银行</S>"},
                                       {1300, "bank", "<S C=\"d\">河岸</S>"},
                                       {1400, "banker", "<S C=\"d\">银行家</S>"}};

TEST_F(LookupWindow, StartUpShowsTheFirstRowAsAWholePage) {
  Open({{7, "R&D <i>", "<S C=\"s\">研究</S><s c=x>"}, {9, "zebra", "z"}});

  EXPECT_EQ(Ids(), (std::vector<std::string>{"7", "9"}));
  EXPECT_EQ(w->ClientDataSet1->RecNo(), 0);
  EXPECT_TRUE(w->DBGridEh1->isColumnHidden(0));
  EXPECT_EQ(w->ClientDataSet1->headerData(1, Qt::Horizontal).toString(), QStringLiteral("单词"));
  EXPECT_EQ(w->ClientDataSet1->data(w->ClientDataSet1->index(1, 1)).toString(), " zebra");

  EXPECT_EQ(LookupState.CurrentEntryId, "7");
  EXPECT_EQ(LookupState.CurrentWord, "R&D <i>");
  EXPECT_EQ(LookupState.PageCounter, 1);
  EXPECT_EQ(LookupState.PagePath, "html/1.html");
  // The headword is escaped in the page (a deliberate fix) and nowhere else.
  EXPECT_EQ(ReadBytes("html/1.html"),
            "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=gbk\">"
            "<link href=\"./encd.css\" rel=\"stylesheet\" type=\"text/css\" /></head><body>\t"
            "<div class=\"post\"><div class=\"content\" style=\"padding-top:2px;\">\r\n"
            "<p class=\"word\">R&amp;D &lt;i&gt;</p><span class=\"s\">" +
                Gbk("研究") + "</span><s c=x>\r\n<br></div></div></body></html>");
  // The headword shows as typed: "&&" is how a group box title draws one "&" (a lone one
  // would vanish into a shortcut), and the label takes no markup from it.
  EXPECT_EQ(w->GroupBox2->title(), QStringLiteral("单词: R&&D <i>"));
  EXPECT_TRUE(w->Label2->isVisibleTo(w.get()));
  EXPECT_EQ(w->Label2->text(), QStringLiteral("联网查看单词:R&D <i>"));
  EXPECT_EQ(w->Label2->textFormat(), Qt::PlainText);
  EXPECT_EQ(Label2Color(), kRed);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, ViewShowsThePageWrittenInTheWorkingFolder) {
  // The view must not look in the program folder, which has no pages here (a deliberate fix).
  const fs::path programFolder = QCoreApplication::applicationDirPath().toStdString();
  ASSERT_NE(fs::canonical(programFolder), fs::canonical(dir.path()));
  ASSERT_FALSE(fs::exists(programFolder / "html" / "1.html"));
  Open(kBank);
  EXPECT_TRUE(w->EmbeddedWB1->toPlainText().contains(QStringLiteral("银行")));
  Type("banker");
  EXPECT_TRUE(w->EmbeddedWB1->toPlainText().contains(QStringLiteral("银行家")));
}

TEST_F(LookupWindow, WorkingFolderNamedOutsideGbkStillShowsEntries) {
  const fs::path odd = dir.path() / u8"词典😀";
  fs::create_directory(odd);
  fs::current_path(odd);
  Open(kBank);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(w->EmbeddedWB1->toPlainText().contains(QStringLiteral("银行")));
}

TEST_F(LookupWindow, ShowsTheLastExactMatchAndKeepsTheFirstRowCurrent) {
  Open(kBank);
  const struct {
    const char* typed;
    const char* entryId;
  } cases[] = {{"bank", "1300"}, {"Bank", "1200"}, {"banker", "1400"}, {" bank ", "1300"}};
  for (const auto& c : cases) {
    Type(c.typed);
    EXPECT_EQ(LookupState.CurrentEntryId, c.entryId) << c.typed;
    EXPECT_EQ(w->ClientDataSet1->RecNo(), 0) << c.typed;
    EXPECT_EQ(w->DBGridEh1->currentIndex().row(), 0) << c.typed;
  }
  EXPECT_EQ(LookupState.SearchTerm, "bank");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LookupWindow, ListCutsHeadwordsTo25BytesButTheEntryKeepsThemWhole) {
  const std::string zh12 = "词词词词词词词词词词词词";
  Open({{1, "abcdefghijklmnopqrstuvwxyzabcd", "e"},
        {2, zh12, "e"},
        {3, zh12 + "典", "e"},
        {4, "a" + zh12, "e"}});
  const auto shown = [&](int row) {
    return w->ClientDataSet1->data(w->ClientDataSet1->index(row, 1)).toString().toStdString();
  };
  EXPECT_EQ(shown(0), " abcdefghijklmnopqrstuvwx");
  EXPECT_EQ(shown(1), " " + zh12);
  EXPECT_EQ(shown(2), " " + zh12);
  // The cut fell inside the twelfth character: the dangling half is not drawn.
  EXPECT_EQ(w->ClientDataSet1->Value(3, 1), " a" + Gbk("词词词词词词词词词词词") + "\xB4");
  EXPECT_EQ(shown(3), " a词词词词词词词词词词词");
  Type("abc");
  EXPECT_EQ(LookupState.CurrentWord, "abcdefghijklmnopqrstuvwxyzabcd");
}

TEST_F(LookupWindow, PageRingWrapsAtTheEleventhPageAndLabel2Alternates) {
  Open(kBank);
  EXPECT_EQ(Label2Color(), kRed);
  for (int page = 2; page <= 11; ++page) {
    Type(page % 2 == 0 ? "banker" : "bank");
    EXPECT_EQ(Label2Color(), page % 2 == 0 ? kNavy : kRed) << page;
  }
  EXPECT_EQ(LookupState.PageCounter, 1);
  EXPECT_EQ(LookupState.PagePath, "html/1.html");
  EXPECT_NE(
      ReadBytes("html/1.html").find("<p class=\"word\">bank</p>" + Gbk("<span class=\"d\">河岸")),
      std::string::npos);
  EXPECT_NE(ReadBytes("html/10.html").find("banker"), std::string::npos);
  EXPECT_FALSE(fs::exists("html/11.html"));
  EXPECT_TRUE(w->EmbeddedWB1->toPlainText().contains(QStringLiteral("河岸")));
  EXPECT_EQ(w->Label2->text(), QStringLiteral("联网查看单词:bank"));
}

TEST_F(LookupWindow, OnlyAClickOnAnotherEntrysRowShowsIt) {
  Open(kBank);
  w->show();
  Type("bank");
  ASSERT_EQ(LookupState.CurrentEntryId, "1300");
  ASSERT_EQ(LookupState.PageCounter, 2);

  ClickRow(0);  // the first row, not the exact match on show
  EXPECT_EQ(LookupState.CurrentEntryId, "1200");
  EXPECT_EQ(LookupState.PageCounter, 3);
  ClickRow(0);  // already on show
  EXPECT_EQ(LookupState.PageCounter, 3);
  QTest::keyClick(w->DBGridEh1, Qt::Key_Down);  // keyboard moves show nothing
  EXPECT_EQ(w->ClientDataSet1->RecNo(), 1);
  EXPECT_EQ(LookupState.CurrentEntryId, "1200");
  EXPECT_EQ(LookupState.PageCounter, 3);
  ClickRow(2);
  EXPECT_EQ(LookupState.CurrentEntryId, "1400");
  EXPECT_EQ(LookupState.PageCounter, 4);
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, QuickSearchModesFindEnglishAndChinese) {
  Open({{10, "apple", "e"},
        {20, "pineapple", "e"},
        {30, "applet", "e"},
        {40, "苹果", "e"},
        {50, "大苹果", "e"},
        {60, "苹果树", "e"}});
  const struct {
    QRadioButton* Tflexora::*mode;
    const char* text;
    std::vector<std::string> ids;
    const char* entryId;
  } cases[] = {
      {&Tflexora::r1, "app", {"10", "30"}, "10"},
      {&Tflexora::r2, "apple", {"10", "20"}, "10"},
      {&Tflexora::r3, "pple", {"10", "20", "30"}, "10"},
      {&Tflexora::r4, "applet", {"30"}, "30"},
      {&Tflexora::r1, "苹果", {"40", "60"}, "40"},
      {&Tflexora::r2, "苹果", {"40", "50"}, "40"},
      {&Tflexora::r3, "苹果", {"40", "50", "60"}, "40"},
      {&Tflexora::r4, "大苹果", {"50"}, "50"},
      {&Tflexora::r1, "a", {"10", "30"}, "10"},
  };
  for (const auto& c : cases) {
    Quick(w.get()->*c.mode, c.text);
    EXPECT_EQ(Ids(), c.ids) << c.text;
    EXPECT_EQ(LookupState.CurrentEntryId, c.entryId) << c.text;
    EXPECT_EQ(LookupState.SearchTerm, Gbk(c.text));
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, IncrementalSearchListsChineseHeadwordsByTheirStart) {
  Open({{40, "苹果", "e"}, {50, "大苹果", "e"}, {60, "苹", "e"}});
  Type("苹");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"40", "60"}));
  EXPECT_EQ(LookupState.CurrentEntryId, "60");
}

TEST_F(LookupWindow, EnterInTheQuickSearchBoxClicksFind) {
  Open(kBank);
  w->eso->setText(QStringLiteral("banker"));
  QTest::keyClick(w->eso, Qt::Key_A);
  EXPECT_EQ(LookupState.PageCounter, 1);
  w->eso->setText(QStringLiteral("banker"));
  QTest::keyClick(w->eso, Qt::Key_Return);
  EXPECT_EQ(LookupState.CurrentEntryId, "1400");
  EXPECT_EQ(LookupState.PageCounter, 2);
}

TEST_F(LookupWindow, PlaceholderGoesWithTheFirstClickAndRunsNoSearch) {
  Open(kBank);
  ASSERT_EQ(w->Edit1->text(), QStringLiteral("请输入英语或汉字"));
  const Snapshot before = Take();
  QTest::mouseClick(w->Edit1, Qt::LeftButton);
  EXPECT_TRUE(w->Edit1->text().isEmpty());
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(LookupState.SearchTerm, "");
  Type("ban");
  QTest::mouseClick(w->Edit1, Qt::LeftButton);
  EXPECT_EQ(w->Edit1->text(), QStringLiteral("ban"));
}

TEST_F(LookupWindow, EmptyAndFruitlessSearchesChangeNothing) {
  Open(kBank);
  Type("bank");
  const Snapshot before = Take();

  Type("   ");  // empty incremental search: nothing at all
  EXPECT_EQ(LookupState.SearchTerm, "bank");
  Type("zzz");  // incremental, nothing found: silent
  EXPECT_EQ(LookupState.SearchTerm, "zzz");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Take(), before);

  Quick(w->r3, "zzz");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, Gbk("没有检索结果,请检查输入内容是否有误?"));
  EXPECT_EQ(dialogs.shown[0].type, ui::DialogType::Warning);
  EXPECT_EQ(dialogs.shown[0].buttons, ui::DialogButtons::OK);
  EXPECT_EQ(Take(), before);

  Quick(w->r1, " \t ");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, Gbk("请输入要查询的内容?"));
  EXPECT_EQ(dialogs.shown[1].type, ui::DialogType::Warning);
  EXPECT_EQ(dialogs.shown[1].buttons, ui::DialogButtons::OK);
  EXPECT_EQ(LookupState.SearchTerm, "");
  EXPECT_EQ(Take(), before);
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, StoreFailuresChangeNothingAndReachTheErrorBox) {
  Open(kBank);
  Type("bank");
  const Snapshot before = Take();
  const TLookupState state = LookupState;

  w->Errors().Run([&] { w->showxx("select * from nothere", 2); });
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].first, app::ApplicationTitle());
  EXPECT_EQ(dialogs.errors[0].second.rfind("Error executing SQL", 0), 0u)
      << dialogs.errors[0].second;
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(LookupState.SearchTerm, state.SearchTerm);

  fs::remove("enci.edt");
  Type("banker");  // through the wired handler and its default error handler
  EXPECT_EQ(dialogs.errors.size(), 2u);
  EXPECT_EQ(Take(), before);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LookupWindow, PageThatCannotBeWrittenIsReported) {
  Open(kBank);
  fs::remove_all("html");
  Type("banker");
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].second.rfind(
                "Cannot create file \"" + ui::ExpandFileName("html/2.html") + "\". ", 0),
            0u)
      << dialogs.errors[0].second;
  EXPECT_EQ(LookupState.CurrentEntryId, "1400");
  EXPECT_EQ(LookupState.PageCounter, 2);
  EXPECT_EQ(w->Label2->text(), QStringLiteral("联网查看单词:bank"));
}

TEST_F(LookupWindow, QuotesAreSearchedAsTextAndCannotChangeTheStatement) {
  // Doubling quotes is a deliberate fix: such text used to break the statement.
  Open({{1, "dont", "e"}, {2, "don't", "e"}, {3, "x", "e"}});
  Type("don't");
  EXPECT_EQ(LookupState.SearchTerm, "don't");
  EXPECT_EQ(LookupState.CurrentWord, "don't");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"2"}));
  Quick(w->r4, "x' or '1'='1");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, Gbk("没有检索结果,请检查输入内容是否有误?"));
  EXPECT_EQ(LookupState.CurrentWord, "don't");
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, TypedCharacterOutsideGbkBecomesAQuestionMark) {
  Open({{1, "b", "e"}, {2, "a?b", "e"}});
  Type("a\xF0\x9F\x98\x80");  // an emoji
  EXPECT_EQ(LookupState.SearchTerm, "a?");
  EXPECT_EQ(LookupState.CurrentWord, "a?b");
  // A pasted NUL character is left out: a statement would end at it.
  w->Edit1->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("?b"));
  EXPECT_EQ(LookupState.SearchTerm, "a?b");
  w->eso->setText(QChar(0) + QStringLiteral("b"));
  w->Button1->click();
  EXPECT_EQ(LookupState.SearchTerm, "b");
  EXPECT_EQ(LookupState.CurrentWord, "b");
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, EntryMissingFromTheEntryStoreChangesOnlyCaptionAndWord) {
  Open({{1, "alpha", "first"}, {2, "beta", std::nullopt}});
  const Snapshot before = Take();
  Type("beta");
  Snapshot expected = before;
  expected.ids = {"2"};
  expected.currentEntryId = "2";
  expected.currentWord = "beta";
  expected.caption = QStringLiteral("单词: beta");
  EXPECT_EQ(Take(), expected);
  EXPECT_EQ(Label2Color(), kRed);
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, Label2OpensTheCurrentWordOnline) {
  Open({});
  EXPECT_TRUE(Ids().empty());
  w->DBGridEh1CellClick();  // never filled: nothing to show
  QTest::mouseClick(w->Label2, Qt::LeftButton);
  ASSERT_EQ(urls.opened.size(), 1u);
  EXPECT_EQ(urls.opened[0], "http://" + app::SiteHost() + "/en/.html");

  w.reset();
  Open({{1, "ice 苹果", "e"}});
  QTest::mouseClick(w->Label2, Qt::LeftButton);
  ASSERT_EQ(urls.opened.size(), 2u);
  // The headword's GBK bytes, blank included, percent-encoded (a deliberate fix).
  EXPECT_EQ(urls.opened[1], "http://" + app::SiteHost() + "/en/ice%20%C6%BB%B9%FB.html");
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, QuickSearchTrimsItsTextAndTrailingBlanksRunTheSearchAgain) {
  Open(kBank);
  Quick(w->r4, " \t bank \r\n");
  EXPECT_EQ(LookupState.SearchTerm, "bank");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1200", "1300"}));
  EXPECT_EQ(LookupState.CurrentEntryId, "1300");

  Type("bank");
  ClickRow(0);
  ASSERT_EQ(LookupState.CurrentEntryId, "1200");
  const int pages = LookupState.PageCounter;
  Type("bank ");  // the same trimmed text: listed and shown once more
  EXPECT_EQ(LookupState.SearchTerm, "bank");
  EXPECT_EQ(LookupState.CurrentEntryId, "1300");
  EXPECT_EQ(LookupState.PageCounter, pages + 1);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(LookupWindow, RowCapsAre800ForOneByteAnd10000OtherwiseButExactHasNone) {
  std::vector<FixtureRow> rows;
  for (int id = 1; id <= 10005; ++id) rows.push_back({id, "aa", "e"});
  Open(rows);
  const auto count = [&] { return w->ClientDataSet1->RecordCount(); };
  Type("a");
  EXPECT_EQ(count(), 800);
  Type("aa");
  EXPECT_EQ(count(), 10000);
  EXPECT_EQ(LookupState.CurrentEntryId, "10000");  // the last exact match within the cap
  Quick(w->r3, "a");
  EXPECT_EQ(count(), 800);
  Quick(w->r2, "aa");
  EXPECT_EQ(count(), 10000);
  Quick(w->r4, "aa");
  EXPECT_EQ(count(), 10005);
  EXPECT_EQ(LookupState.CurrentEntryId, "10005");
}

TEST_F(LookupWindow, ExactModeTakesPercentAndUnderscoreLiterally) {
  Open({{1, "50%", "e"}, {2, "500", "e"}, {3, "a_b", "e"}, {4, "axb", "e"}, {5, "5000", "e"}});
  Quick(w->r4, "50%");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1"}));
  Quick(w->r4, "a_b");
  EXPECT_EQ(Ids(), (std::vector<std::string>{"3"}));
  Quick(w->r1, "50%");  // the other modes treat them as wildcards
  EXPECT_EQ(Ids(), (std::vector<std::string>{"1", "2", "5"}));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LookupWindow, IdColumnStaysHiddenAfterLaterFills) {
  Open(kBank);
  for (const char* text : {"bank", "banker", "b"}) {
    Type(text);
    ASSERT_FALSE(Ids().empty()) << text;
    EXPECT_TRUE(w->DBGridEh1->isColumnHidden(0)) << text;
    EXPECT_FALSE(w->DBGridEh1->isColumnHidden(1)) << text;
    EXPECT_EQ(w->DBGridEh1->horizontalHeader()->count() -
                  w->DBGridEh1->horizontalHeader()->hiddenSectionCount(),
              1)
        << text;
  }
}

TEST_F(LookupWindow, StoreLockedByAnotherWriterReportsItAndChangesNothing) {
  Open(kBank);
  Type("bank");
  const Snapshot before = Take();
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(IndexStoreName, &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_key(writer, IndexStoreKey, 4), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(writer);
  Type("banker");
  sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].first, app::ApplicationTitle());
  EXPECT_EQ(dialogs.errors[0].second, "Could not prepare SQL statement.");
  EXPECT_EQ(Take(), before);
  Type("banke");  // the lock gone, searching works again
  EXPECT_EQ(LookupState.CurrentEntryId, "1400");
}

TEST_F(LookupWindow, PromptGoesOnTheClickNotOnThePress) {
  Open(kBank);
  const QString prompt = QStringLiteral("请输入英语或汉字");
  QTest::mousePress(w->Edit1, Qt::LeftButton);
  EXPECT_EQ(w->Edit1->text(), prompt);
  QTest::mouseRelease(w->Edit1, Qt::LeftButton, {}, QPoint(-4, -4));  // let go outside
  EXPECT_EQ(w->Edit1->text(), prompt);
  QTest::mouseClick(w->Edit1, Qt::RightButton);
  EXPECT_EQ(w->Edit1->text(), prompt);
  QTest::mousePress(w->Edit1, Qt::LeftButton);
  QTest::mouseRelease(w->Edit1, Qt::LeftButton);
  EXPECT_TRUE(w->Edit1->text().isEmpty());
}

TEST_F(LookupWindow, OnlyAPlainEnterInTheQuickSearchBoxRunsTheSearch) {
  Open(kBank);
  w->eso->setText(QStringLiteral("banker"));
  QTest::keyClick(w->eso, Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClick(w->eso, Qt::Key_Return, Qt::AltModifier);
  QTest::keyClick(w->eso, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
  QTest::keyClick(w->eso, Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(LookupState.PageCounter, 1);
  QTest::keyClick(w->eso, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(LookupState.CurrentEntryId, "1400");
  EXPECT_EQ(LookupState.PageCounter, 2);
  QTest::keyClick(w->eso, Qt::Key_Return, Qt::ShiftModifier);  // Shift types a return too
  EXPECT_EQ(LookupState.PageCounter, 3);
}

TEST_F(LookupWindow, WindowShowsWhatAWholeRepaintDraws) {
  // Captions of several lengths and lists long enough for a scroll bar: what a look-up
  // repaints (the caption's strip, the list, the page, the scroll bars) must leave the window
  // as drawing all of it afresh would.
  std::vector<FixtureRow> rows = {{1, "banker of the long caption and the longer entry", "x"},
                                  {2, "b", "<S C=\"d\">" + std::string(400, 'y') + "</S>"}};
  for (int i = 0; i < 60; ++i) rows.push_back({100 + i, "bank" + std::to_string(i), "z"});
  Open(rows);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  for (const char* text : {"banker", "b", "bank5", "ba", "banker"}) {
    Type(text);
    // No blinking caret in either picture.
    w->DBGridEh1->setFocus();
    QCoreApplication::processEvents();
    const QImage shown = w->screen()->grabWindow(w->winId()).toImage();
    const QImage drawn = w->grab().toImage().convertToFormat(shown.format());
    ASSERT_EQ(shown.size(), drawn.size()) << text;
    EXPECT_TRUE(shown == drawn) << text << ": the window differs from a whole repaint";
  }
}

TEST_F(LookupWindow, ListScrollBarDrawsItsHandleWhereTheListIs) {
  std::vector<FixtureRow> rows;
  for (int i = 0; i < 60; ++i) rows.push_back({100 + i, "bank" + std::to_string(i), "z"});
  Open(rows);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  Type("bank");
  QScrollBar* bar = w->DBGridEh1->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  const QColor handle = bar->palette().color(QPalette::Button);
  for (const bool atEnd : {false, true}) {
    if (atEnd) w->DBGridEh1->scrollToBottom();
    QCoreApplication::processEvents();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    option.subControls = QStyle::SC_All;
    const QRect slider = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                      QStyle::SC_ScrollBarSlider, bar);
    const QRect page = bar->style()->subControlRect(
        QStyle::CC_ScrollBar, &option,
        atEnd ? QStyle::SC_ScrollBarSubPage : QStyle::SC_ScrollBarAddPage, bar);
    ASSERT_TRUE(slider.isValid() && page.isValid()) << atEnd;
    const QImage image = bar->grab().toImage();
    EXPECT_EQ(image.pixelColor(slider.center()), handle) << atEnd;
    EXPECT_NE(image.pixelColor(page.center()), handle) << atEnd;
  }
}

// The shipped style sheet leaves the pages' base font to the entry view and names each
// class's element. A page using every class must look as it did with that font in the body
// rule and classes matched on any element.
TEST_F(LookupWindow, EntryPageLooksAsWithTheFontInItsStyleSheet) {
  const std::string sheet =
      ReadBytes((fs::path(QINGHE_SOURCE_DIR) / "tools" / "dictbuild" / "encd.css").string());
  const std::regex rule(R"((\w+)\.(\w+) \{)");
  std::vector<std::string> blocks, spans;
  std::string entry;
  for (std::sregex_iterator it(sheet.begin(), sheet.end(), rule), end; it != end; ++it) {
    const std::string element = (*it)[1], cls = (*it)[2];
    if (element == "div") blocks.push_back(cls);
    if (element == "span") spans.push_back(cls);
    if (element == "a") entry += "<a C=\"" + cls + "\" href=\"#able\">able</a> ";
  }
  ASSERT_GT(blocks.size(), 10u);
  ASSERT_GT(spans.size(), 5u);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const std::string& span = spans[i % spans.size()];
    entry += "<div C=\"" + blocks[i] + "\">" + blocks[i] + " 释义 ǎ <S C=\"" + span + "\">" + span +
             " 汉字 [&#712;e&#618;bl]</S> text</div>";
  }
  fs::create_directory("html");
  ui::WriteFileBytes("html/encd.css", sheet);
  Open({{5, "able", entry}});
  Type("able");
  ASSERT_EQ(LookupState.CurrentEntryId, "5");

  // The same page beside the sheet as it was, in a view with no font of its own.
  fs::create_directories("before/html");
  fs::copy_file(LookupState.PagePath, "before/html/page.html");
  std::string before = std::regex_replace(sheet, std::regex(R"(\n\w+\.(\w+) \{)"), "\n.$1 {");
  before =
      std::regex_replace(before, std::regex(R"(body \{ )"),
                         "body { font-family: \"Segoe UI\", \"DejaVu Sans\", \"Microsoft YaHei\", "
                         "\"WenQuanYi Micro Hei\", sans-serif; font-size: 10.5pt; ");
  ASSERT_NE(before.find(".pos {"), std::string::npos);
  ui::WriteFileBytes("before/html/encd.css", before);
  ui::TEmbeddedWB plain;
  plain.resize(w->EmbeddedWB1->size());
  plain.Navigate(QDir::current().absoluteFilePath(QStringLiteral("before/html/page.html")));

  const auto wholePage = [](ui::TEmbeddedWB& view) {
    QTextDocument* doc = view.document();
    QImage image(doc->size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    doc->drawContents(&painter);
    return image;
  };
  // A child and a top-level widget grab into different pixel formats.
  const auto shot = [](QWidget& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  EXPECT_EQ(shot(*w->EmbeddedWB1), shot(plain));
  const QImage shown = wholePage(*w->EmbeddedWB1);
  EXPECT_GT(shown.height(), w->EmbeddedWB1->height());
  EXPECT_EQ(shown, wholePage(plain));
}

}  // namespace
