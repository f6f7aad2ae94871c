// The entry view: showing page files, the select-all and copy commands, the Ctrl shortcut
// filter and the application-wide focus rules, offscreen.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <filesystem>
#include <string>

#include "tests/support/Fakes.h"
#include "tests/support/TempDir.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"
#include "ui/Ports.h"
#include "ui/ViewFocus.h"

namespace {

namespace fs = std::filesystem;
using ui::Gbk;

// An entry page as the program writes it: GBK, declaring its charset, linking ./encd.css.
std::string EntryPage(const std::string& headwordUtf8, const std::string& entryUtf8) {
  return Gbk(
      "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=gbk\">"
      "<link href=\"./encd.css\" rel=\"stylesheet\" type=\"text/css\" /></head><body>\t"
      "<div class=\"post\"><div class=\"content\" style=\"padding-top:2px;\">\r\n"
      "<p class=\"word\">" +
      headwordUtf8 + "</p>" + entryUtf8 + "\r\n<br></div></div></body></html>");
}

class EntryView : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory("html");
    // The style sheet is GBK too, and names a Chinese font.
    ui::WriteFileBytes("html/encd.css",
                       Gbk(".word{color:#c00000;font-family:\"宋体\";} .cn{color:#008000}"));
  }
  // Full path of a page file, as the entry page hands it over (GBK bytes).
  std::string Write(const std::string& name, const std::string& bytes) {
    ui::WriteFileBytes("html/" + name, bytes);
    return ui::LocalPathToGbk((dir.path() / "html" / name).string());
  }

  testsupport::TempWorkDir dir;
  ui::TEmbeddedWB view;
  testsupport::FakeClipboard clipboard;
};

TEST_F(EntryView, ShowsAGbkPageWithItsLinkedStyleSheet) {
  view.Navigate(Write("1.html", EntryPage("apple", "<span class=\"cn\">苹果，一种水果</span>")));
  EXPECT_TRUE(view.HasPage());
  const QString text = view.toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("apple"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("苹果，一种水果"))) << text.toStdString();

  const QString html = view.toHtml();
  EXPECT_TRUE(html.contains(QStringLiteral("color:#c00000"))) << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("color:#008000"))) << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("宋体"))) << html.toStdString();

  // The next page replaces the first.
  view.Navigate(Write("2.html", EntryPage("pear", "梨")));
  EXPECT_FALSE(view.toPlainText().contains(QStringLiteral("apple")));
  EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("梨")));
}

// Text the style sheet leaves unstyled is in the page font, which stays when the view's own
// font changes.
TEST_F(EntryView, UnstyledTextIsInThePageFontWhateverTheViewsOwnFont) {
  QFont page;
  page.setFamilies({QStringLiteral("DejaVu Serif")});
  page.setPointSizeF(17.5);
  view.SetPageFont(page);
  QFont own;
  own.setFamilies({QStringLiteral("DejaVu Sans Mono")});
  own.setPixelSize(9);
  for (const bool ownFontChanged : {false, true}) {
    if (ownFontChanged) view.setFont(own);
    view.Navigate(Write("1.html", EntryPage("apple", "plain text")));
    QTextCursor cursor = view.document()->find(QStringLiteral("plain text"));
    ASSERT_FALSE(cursor.isNull());
    const QFont shown = cursor.charFormat().font().resolve(view.document()->defaultFont());
    EXPECT_EQ(shown.families().value(0).toStdString(), "DejaVu Serif") << ownFontChanged;
    EXPECT_EQ(shown.pointSizeF(), 17.5) << ownFontChanged;
  }
  EXPECT_EQ(view.font().pixelSize(), 9);
}

TEST_F(EntryView, ReadsAPageInTheCharsetItDeclaresElseAsGbk) {
  const char* const kLink = "<link href=\"./encd.css\" rel=\"stylesheet\" type=\"text/css\">";
  const struct {
    const char* name;
    std::string bytes;
    bool gbk;  // the GBK style sheet is read in the page's charset
  } cases[] = {
      {"GBK declared", EntryPage("apple", "苹果"), true},
      {"UTF-8 declared",
       std::string("<html><head><meta charset=\"utf-8\">") + kLink +
           "</head><body><p class=\"word\">apple</p>苹果</body></html>",
       false},
      {"nothing declared",
       Gbk(std::string("<html><head>") + kLink +
           "</head><body><p class=\"word\">apple</p>苹果</body></html>"),
       true},
  };
  for (const auto& c : cases) {
    view.Navigate(Write("1.html", c.bytes));
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("苹果"))) << c.name;
    if (c.gbk) {
      EXPECT_TRUE(view.toHtml().contains(QStringLiteral("宋体"))) << c.name;
    }
  }
}

TEST_F(EntryView, APageThatCannotBeReadIsAnErrorAndKeepsThePageShown) {
  const std::string shown = Write("1.html", EntryPage("apple", "苹果"));
  view.Navigate(shown);
  const std::string missing = ui::LocalPathToGbk((dir.path() / "html" / "7.html").string());
  const std::string folder = ui::LocalPathToGbk((dir.path() / "html").string());
  for (const std::string& path : {missing, folder}) {
    try {
      view.Navigate(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const ui::EPlatformError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("苹果")));
}

TEST_F(EntryView, CopyPutsTheWholePageOnTheClipboardAndLeavesItSelected) {
  view.Navigate(Write("1.html", EntryPage("apple", "<span class=\"cn\">苹果，一种水果</span>")));
  view.ExecSelectAll();
  view.ExecCopy(clipboard);
  ASSERT_EQ(clipboard.calls, 1);
  for (const QString& part : {QStringLiteral("apple"), QStringLiteral("苹果，一种水果")}) {
    EXPECT_TRUE(clipboard.html.contains(part)) << clipboard.html.toStdString();
    EXPECT_TRUE(clipboard.text.contains(part)) << clipboard.text.toStdString();
  }
  EXPECT_TRUE(clipboard.html.contains(QStringLiteral("color:#c00000")));
  EXPECT_EQ(view.textCursor().selectedText().size(), view.toPlainText().size());
}

// A word link ("#" + headword) is reported with its headword; a web link is not.
TEST_F(EntryView, AWordLinkReportsItsHeadword) {
  view.resize(400, 300);
  view.show();
  view.Navigate(Write("1.html", EntryPage("went",
                                          "<div><a class=\"fw\" href=\"#go on\">go on</a> "
                                          "的过去式 <a href=\"http://x.example/\">web</a></div>")));
  QStringList words;
  QObject::connect(&view, &ui::TEmbeddedWB::WordLinkClicked,
                   [&words](const QString& w) { words.append(w); });
  for (const QString& text : {QStringLiteral("web"), QStringLiteral("go on")}) {
    const QTextCursor at = view.document()->find(text);
    ASSERT_FALSE(at.isNull()) << text.toStdString();
    QTextCursor inside(view.document());
    inside.setPosition(at.selectionStart() + 1);
    const QPoint point = view.cursorRect(inside).center();
    // Pressing and releasing over the link activates it.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
  }
  EXPECT_EQ(words, QStringList{QStringLiteral("go on")});
  EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("的过去式")));  // the page stays
}

TEST_F(EntryView, SelectAndCopyFailWhileNoPageIsShown) {
  EXPECT_THROW(view.ExecSelectAll(), ui::EPlatformError);
  EXPECT_THROW(view.ExecCopy(clipboard), ui::EPlatformError);
  EXPECT_EQ(clipboard.calls, 0);
  // A failed navigation shows no page either.
  EXPECT_THROW(view.Navigate(ui::LocalPathToGbk((dir.path() / "none.html").string())),
               ui::EPlatformError);
  EXPECT_THROW(view.ExecSelectAll(), ui::EPlatformError);
}

// A window holding the view, with window shortcuts that must not see swallowed keys.
class ViewWindow : public EntryView {
 protected:
  void SetUp() override {
    EntryView::SetUp();
    auto* layout = new QVBoxLayout(&window);
    edit = new QLineEdit(&window);
    layout->addWidget(edit);
    view.setParent(&window);
    layout->addWidget(&view);
    for (const char* keys : {"Ctrl+N", "Ctrl+Shift+N", "Ctrl+P"}) {
      auto* action = new QAction(&window);
      action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
      QObject::connect(action, &QAction::triggered, [this, keys] { fired.push_back(keys); });
      window.addAction(action);
    }
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void TearDown() override { view.setParent(nullptr); }

  QWidget window;
  QLineEdit* edit = nullptr;
  std::vector<std::string> fired;
};

TEST_F(ViewWindow, CtrlShortcutsOfTheListAreSwallowedOthersReachTheViewAndWindow) {
  view.Navigate(Write("1.html", EntryPage("apple", "苹果")));
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(fired.empty());
  QTest::keyClick(&view, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(fired, std::vector<std::string>{"Ctrl+P"});

  // Ctrl+A passes to the view, which selects the page ...
  QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(view.textCursor().hasSelection());
  // ... unless A is on the list.
  view.moveCursor(QTextCursor::Start);
  view.DisableCtrlShortcuts = "NA";
  QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
  EXPECT_FALSE(view.textCursor().hasSelection());

  // With the list empty nothing is swallowed.
  view.DisableCtrlShortcuts.clear();
  QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(fired, (std::vector<std::string>{"Ctrl+P", "Ctrl+N"}));
}

void Wheel(QWidget* target) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

TEST_F(ViewWindow, TheWheelOverABrowserViewGivesItTheFocusAndStillScrolls) {
  ui::InstallViewFocusFilters(*qApp);
  std::string entry;
  for (int i = 0; i < 200; ++i) entry += "<p>第" + std::to_string(i) + "行</p>";
  view.Navigate(Write("1.html", EntryPage("long", entry)));
  edit->setFocus();
  ASSERT_TRUE(edit->hasFocus());

  Wheel(edit);
  EXPECT_TRUE(edit->hasFocus());

  Wheel(view.viewport());
  EXPECT_TRUE(view.hasFocus());
  EXPECT_GT(view.verticalScrollBar()->value(), 0);

  // Any browser view, such as the about window's page, is served as well.
  auto* other = new QTextBrowser(&window);
  window.layout()->addWidget(other);
  other->show();
  Wheel(other->viewport());
  EXPECT_TRUE(other->hasFocus());
}

TEST_F(ViewWindow, EachPageStartsAtTheTopLaidOutToTheWidthItsScrollBarLeaves) {
  std::string entry;
  for (int i = 0; i < 200; ++i) entry += "<p>第" + std::to_string(i) + "行</p>";
  QScrollBar* bar = view.verticalScrollBar();
  view.Navigate(Write("1.html", EntryPage("long", entry)));
  ASSERT_TRUE(bar->isVisible());
  const qreal narrow = view.viewport()->width();
  EXPECT_EQ(view.document()->pageSize().width(), narrow);
  bar->setValue(bar->maximum());

  // A long page after a long one.
  view.Navigate(Write("2.html", EntryPage("longer", entry + entry)));
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(view.document()->pageSize().width(), narrow);
  EXPECT_EQ(view.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

  // A short page after a long one gets the full width.
  view.Navigate(Write("3.html", EntryPage("apple", "苹果")));
  EXPECT_FALSE(bar->isVisible());
  EXPECT_GT(view.viewport()->width(), narrow);
  EXPECT_EQ(view.document()->pageSize().width(), view.viewport()->width());
  EXPECT_EQ(view.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

  view.Navigate(Write("1.html", EntryPage("long", entry)));
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(view.document()->pageSize().width(), narrow);
}

TEST_F(ViewWindow, ReactivationReturnsTheFocusToAViewThatWasTheActiveControl) {
  ui::InstallViewFocusFilters(*qApp);
  view.Navigate(Write("1.html", EntryPage("apple", "苹果")));
  view.setFocus();
  ASSERT_TRUE(view.hasFocus());

  QApplication::setActiveWindow(nullptr);
  EXPECT_FALSE(view.hasFocus());
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(view.hasFocus());

  // Another active control keeps the focus.
  edit->setFocus();
  QApplication::setActiveWindow(nullptr);
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(edit->hasFocus());
}

}  // namespace
