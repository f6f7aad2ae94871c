#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "app/Site.h"
#include "app/Startup.h"
#include "app/Unit3.h"
#include "tests/app/AppFixture.h"
#include "ui/Controls.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedWB.h"

namespace {

using apptest::AppTest;
using apptest::ReadFile;

const std::string kQuestion = ui::Gbk("初次运行青禾英语词典,是否生成桌面快捷方式?");

class FormCreateTest : public AppTest {};

TEST_F(FormCreateTest, FirstRunAsksAndAlwaysWritesTheMarker) {
  const struct {
    int answer;
    bool shortcut;
  } cases[] = {{ui::mrYes, true}, {ui::mrNo, false}, {ui::mrNone, false}, {ui::mrCancel, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    std::filesystem::remove("ado.dll");
    WriteStores();
    dialogs = {};
    links.saved.clear();
    links.created = 0;
    dialogs.answers = {c.answer};

    Tflexora window(services);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kQuestion);
    EXPECT_EQ(dialogs.shown[0].type, ui::DialogType::Confirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, ui::DialogButtons::YesNo);
    EXPECT_EQ(ReadFile("ado.dll"), "ok");
    EXPECT_TRUE(dialogs.errors.empty());
    if (c.shortcut) {
      ASSERT_EQ(links.saved.size(), 1u);
      EXPECT_EQ(links.saved[0].target, services.exePath);
      EXPECT_EQ(links.saved[0].savedAt, links.folders[0] + "/" + ui::Gbk("青禾英语词典") + ".lnk");
    } else {
      EXPECT_EQ(links.created, 0);
    }
  }
}

TEST_F(FormCreateTest, AnyMarkerCountsAndIsLeftAlone) {
  WriteStores();
  for (const std::string content : {"", "ok", "something else\n"}) {
    WriteMarker(content);
    dialogs = {};
    Tflexora window(services);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(ReadFile("ado.dll"), content);
    EXPECT_EQ(links.created, 0);
  }
}

TEST_F(FormCreateTest, MarkerThatCannotBeCreatedIsReportedAndTheWindowStillOpens) {
  WriteStores();
  std::filesystem::create_directory("ado.dll");
  dialogs.answers = {ui::mrNo};

  Tflexora window(services);

  EXPECT_EQ(dialogs.shown.size(), 1u);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].first, ui::Gbk("青禾英语词典"));
  const std::string full = ui::LocalPathToGbk((dir_.path() / "ado.dll").string());
  EXPECT_EQ(dialogs.errors[0].second, "Cannot create file \"" + full + "\". Is a directory.");
  // The steps after the marker do not run: no listing.
  EXPECT_EQ(window.StartupStatement(), "");
  EXPECT_EQ(window.ClientDataSet1->RecordCount(), 0);
  EXPECT_TRUE(std::filesystem::is_directory("ado.dll"));
}

TEST_F(FormCreateTest, ShortcutErrorEndsTheStepBeforeTheMarker) {
  WriteStores();
  links.failCreate = true;
  dialogs.answers = {ui::mrYes};

  Tflexora window(services);

  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].second, "Class not registered.");
  EXPECT_FALSE(std::filesystem::exists("ado.dll"));
  EXPECT_EQ(window.StartupStatement(), "");
}

TEST_F(FormCreateTest, StartValuesAreSetAndAStoreFailureIsShown) {
  WriteMarker();
  LookupState.VoiceChosen = true;
  LookupState.PageCounter = 7;
  LookupState.SearchTerm = "old";
  LookupState.CurrentWord = "kept";
  LookupState.PagePath = "html/7.html";

  Tflexora window(services);  // no stores in the folder

  EXPECT_FALSE(LookupState.VoiceChosen);
  EXPECT_EQ(LookupState.PageCounter, 0);
  EXPECT_EQ(LookupState.SearchTerm, "");
  EXPECT_EQ(LookupState.CurrentWord, "kept");
  EXPECT_EQ(LookupState.PagePath, "html/7.html");
  EXPECT_EQ(window.StartupStatement(), "select * from enci where id>0 limit 5000");
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].first, ui::Gbk("青禾英语词典"));
  EXPECT_EQ(window.ClientDataSet1->RecordCount(), 0);
}

TEST_F(FormCreateTest, SeedDecidesTheStartUpListing) {
  WriteMarker();
  WriteStores();
  const struct {
    std::uint32_t seed;
    const char* n;
    int rows;
    const char* shown;
  } cases[] = {
      {0u, "0", 4, "able"},          {1u, "1882", 2, "cat"},
      {12345u, "23121", 1, "dog"},   {0x80000000u, "30000", 1, "dog"},
      {0xFFFFFFFFu, "58117", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seed);
    LookupState = TLookupState{};
    seed = c.seed;
    Tflexora window(services);
    EXPECT_EQ(window.StartupStatement(),
              std::string("select * from enci where id>") + c.n + " limit 5000");
    EXPECT_EQ(window.ClientDataSet1->RecordCount(), c.rows);
    EXPECT_EQ(LookupState.CurrentWord, c.shown);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(dialogs.shown.empty());  // mode 1: an empty listing is not reported
  }
}

TEST_F(FormCreateTest, StartUpOrderAndClosingTheMainWindowEndsTheProgram) {
  WriteStores();
  struct AskingDialogs : testsupport::FakeDialogs {
    std::function<void()> onAsk;
    int MessageDlg(const std::string& text, ui::DialogType type,
                   ui::DialogButtons buttons) override {
      if (onAsk) onAsk();
      return FakeDialogs::MessageDlg(text, type, buttons);
    }
  } asking;
  bool aboutExistedAtQuestion = true;
  asking.onAsk = [&] { aboutExistedAtQuestion = Form3 != nullptr || !pages.requested.empty(); };
  services.dialogs = &asking;

  bool mainShownCentred = false, aboutHidden = false;
  QTimer::singleShot(0, [&] {
    QWidget* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "flexora") main = w;
    }
    ASSERT_NE(main, nullptr);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    mainShownCentred =
        main->isVisible() && (main->geometry().center() - centre).manhattanLength() <= 8;
    aboutHidden = Form3 != nullptr && !Form3->isVisible() && Form3->parentWidget() == main;
    main->close();
  });

  EXPECT_EQ(app::Run(*qApp, services), 0);

  EXPECT_EQ(asking.shown.size(), 1u);
  EXPECT_FALSE(aboutExistedAtQuestion);
  EXPECT_TRUE(mainShownCentred);
  EXPECT_TRUE(aboutHidden);
  EXPECT_EQ(pages.requested.size(), 1u);  // the about page, requested once at start-up
  EXPECT_EQ(Form3, nullptr);
  EXPECT_EQ(QApplication::applicationName(), "青禾英语词典");
  EXPECT_TRUE(asking.errors.empty());
}

class MainWindowTest : public AppTest {
 protected:
  MainWindowTest() {
    WriteMarker();
    WriteStores();
  }
};

QString TextOf(QWidget* w) {
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  return {};
}

TEST_F(MainWindowTest, LayoutFollowsTheControlTable) {
  seed = 0xFFFFFFFFu;  // an empty start-up listing leaves every control in its start state
  Tflexora w(services);
  EXPECT_EQ(w.objectName(), "flexora");
  EXPECT_EQ(w.windowTitle(), "青禾英语词典 (英汉-汉英 双解词典)");
  EXPECT_EQ(w.minimumSize(), QSize(694, 547));
  EXPECT_EQ(w.maximumSize(), QSize(694, 547));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(w.font().pixelSize(), 13);
  EXPECT_EQ(w.font().families().value(0), "MS Sans Serif");
  EXPECT_TRUE(w.findChildren<QMenuBar*>().isEmpty());
  EXPECT_TRUE(w.findChildren<QStatusBar*>().isEmpty());

  const QColor navy(0, 0, 128);
  const struct {
    const char* name;
    QWidget* widget;
    QWidget* parent;
    QRect geometry;  // an empty size: the control sizes to its text
    QString text;
    QString hint;
    int fontPixels;  // 0: the window's
    bool navy;
  } table[] = {
      {"Label2", w.Label2, &w, {14, 528, 0, 0}, "当前单词：", "", 13, true},
      {"Label3", w.Label3, &w, {534, 528, 0, 0}, "关于青禾词典", "", 13, true},
      {"Label4", w.Label4, &w, {630, 528, 0, 0}, "官方主页", "", 13, true},
      {"RadioGroup1", w.RadioGroup1, &w, {8, 8, 185, 81}, "检索方式", "", 0, false},
      {"GroupBox1", w.GroupBox1, &w, {8, 96, 185, 425}, "检索结果", "", 0, false},
      {"DBGridEh1", w.DBGridEh1, w.GroupBox1, {8, 50, 169, 365}, "", "", 0, false},
      {"Edit1",
       w.Edit1,
       w.GroupBox1,
       {8, 24, 169, 24},
       "请输入英语或汉字",
       "请输入英语或汉字",
       0,
       false},
      {"GroupBox2", w.GroupBox2, &w, {200, 96, 489, 425}, "英语单词", "", 0, false},
      {"ToolBar1", w.ToolBar1, w.GroupBox2, {218, -5, 47, 22}, "", "", 0, false},
      {"ToolButton1", w.ToolButton1, w.ToolBar1, {0, 0, 23, 22}, "", "朗读单词", 0, false},
      {"ToolButton2", w.ToolButton2, w.ToolBar1, {23, 0, 23, 22}, "", "复制整个词条", 0, false},
      {"EmbeddedWB1", w.EmbeddedWB1, w.GroupBox2, {8, 20, 473, 398}, "", "", 0, false},
      {"r1", w.r1, &w, {40, 32, 57, 18}, "词首", "", 13, false},
      {"r2", w.r2, &w, {112, 32, 57, 18}, "词尾", "", 13, false},
      {"r3", w.r3, &w, {112, 60, 57, 18}, "模糊", "", 13, false},
      {"r4", w.r4, &w, {40, 60, 57, 18}, "精确", "", 13, false},
      {"GroupBox3", w.GroupBox3, &w, {200, 8, 489, 81}, "快速检索", "", 0, false},
      {"Label1", w.Label1, w.GroupBox3, {24, 36, 76, 19}, "请输入：", "", 19, true},
      {"Label5", w.Label5, w.GroupBox3, {160, 0, 57, 16}, "使用说明", "", 11, false},
      {"eso", w.eso, w.GroupBox3, {104, 32, 209, 28}, "", "请输入英语或汉语", 16, false},
      {"Button1", w.Button1, w.GroupBox3, {336, 26, 81, 38}, "查找", "", 16, true},
  };
  w.show();  // layouts settle only once shown
  for (const auto& c : table) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.widget, nullptr);
    EXPECT_EQ(c.widget->parentWidget(), c.parent);
    if (c.geometry.isEmpty()) {
      EXPECT_EQ(c.widget->pos(), c.geometry.topLeft());
      EXPECT_GE(c.widget->width(), c.widget->sizeHint().width());
    } else {
      EXPECT_EQ(c.widget->geometry(), c.geometry);
    }
    EXPECT_EQ(TextOf(c.widget), c.text);
    EXPECT_EQ(c.widget->toolTip(), c.hint);
    EXPECT_EQ(c.widget->font().pixelSize(), c.fontPixels == 0 ? 13 : c.fontPixels);
    if (c.navy) {
      EXPECT_EQ(c.widget->palette().color(QPalette::WindowText), navy);
    }
  }
  EXPECT_EQ(w.Button1->palette().color(QPalette::ButtonText), navy);
  EXPECT_EQ(w.Label5->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(w.Label4->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(w.ImageList1[0].pixmap(16, 16).isNull());
  EXPECT_FALSE(w.ImageList1[1].pixmap(16, 16).isNull());
  EXPECT_EQ(w.ToolButton1->icon().cacheKey(), w.ImageList1[1].cacheKey());
  EXPECT_EQ(w.ToolButton2->icon().cacheKey(), w.ImageList1[0].cacheKey());
}

TEST_F(MainWindowTest, StackingTabOrderAndModeButtons) {
  Tflexora w(services);

  // Creation order is stacking order: the mode buttons lie above the frame behind them.
  const QObjectList children = w.children();
  const QWidget* stacked[] = {w.Label2, w.Label3, w.Label4, w.RadioGroup1, w.GroupBox1, w.GroupBox2,
                              w.r1,     w.r2,     w.r3,     w.r4,          w.GroupBox3};
  for (std::size_t i = 1; i < std::size(stacked); ++i) {
    EXPECT_LT(children.indexOf(stacked[i - 1]), children.indexOf(stacked[i])) << i;
  }

  const std::vector<QWidget*> expected = {w.DBGridEh1, w.Edit1, w.EmbeddedWB1, w.r1,     w.r2,
                                          w.r3,        w.r4,    w.eso,         w.Button1};
  std::vector<QWidget*> chain;
  QWidget* next = w.DBGridEh1;
  do {
    if (std::find(expected.begin(), expected.end(), next) != expected.end()) chain.push_back(next);
    next = next->nextInFocusChain();
  } while (next != w.DBGridEh1 && chain.size() < 20);
  EXPECT_EQ(chain, expected);
  EXPECT_EQ(w.ToolButton1->focusPolicy(), Qt::NoFocus);

  EXPECT_TRUE(w.r1->isChecked());
  EXPECT_FALSE(w.r2->isChecked() || w.r3->isChecked() || w.r4->isChecked());
  w.r3->click();
  EXPECT_TRUE(w.r3->isChecked());
  EXPECT_FALSE(w.r1->isChecked() || w.r2->isChecked() || w.r4->isChecked());
}

TEST_F(MainWindowTest, TabReachesOnlyTheSelectedModeButton) {
  Tflexora w(services);
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  const struct {
    const char* what;
    QWidget* from;
    QRadioButton* select;  // clicked first; null: the start state
    bool back;
    QWidget* to;
  } cases[] = {
      {"back from the quick search box", w.eso, nullptr, true, w.r1},
      {"on from the entry view", w.EmbeddedWB1, nullptr, false, w.r1},
      {"from the selected button", w.r1, nullptr, false, w.eso},
      {"back to another selection", w.eso, w.r3, true, w.r3},
      {"from another selection", w.r3, w.r3, false, w.eso},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.select != nullptr) QTest::mouseClick(c.select, Qt::LeftButton);
    c.from->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), c.back ? Qt::Key_Backtab : Qt::Key_Tab,
                    c.back ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(QApplication::focusWidget(), c.to);
  }
}

TEST_F(MainWindowTest, UsageLabelShowsTheUsageText) {
  Tflexora w(services);
  QTest::mouseClick(w.Label5, Qt::LeftButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  const std::string& text = dialogs.shown[0].text;
  EXPECT_EQ(text, ui::Gbk("青禾英语词典为 英汉-汉英 双解词典 ") + "\r\n\r\n" +
                      ui::Gbk("文本框内既可输入英语单词也可输入汉字！") + "\r\n");
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++breaks;
  }
  EXPECT_EQ(breaks, 3u);
  EXPECT_EQ(dialogs.shown[0].type, ui::DialogType::Information);
  EXPECT_EQ(dialogs.shown[0].buttons, ui::DialogButtons::OK);
}

TEST_F(MainWindowTest, HomePageLabelOpensTheHomePage) {
  Tflexora w(services);
  QTest::mouseClick(w.Label4, Qt::LeftButton);
  QTest::mouseClick(w.Label4, Qt::RightButton);
  EXPECT_EQ(urls.opened, std::vector<std::string>{std::string("http://") + QINGHE_SITE_HOST + "/"});
}

TEST_F(MainWindowTest, AWordLinkInTheEntryLooksItsWordUp) {
  Tflexora w(services);
  emit w.EmbeddedWB1->WordLinkClicked(QStringLiteral("dog"));
  EXPECT_EQ(w.Edit1->text(), QStringLiteral("dog"));
  EXPECT_EQ(LookupState.CurrentWord, "dog");
}

struct ThrowingOpener : ui::IUrlOpener {
  void Open(const std::string&) override { throw ui::EPlatformError("no handler"); }
};

TEST_F(MainWindowTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
  ThrowingOpener opener;
  services.urls = &opener;
  Tflexora w(services);
  QTest::mouseClick(w.Label4, Qt::LeftButton);
  QTest::mouseClick(w.Label4, Qt::LeftButton);
  ASSERT_EQ(dialogs.errors.size(), 2u);
  EXPECT_EQ(dialogs.errors[1].first, ui::Gbk("青禾英语词典"));
  EXPECT_EQ(dialogs.errors[1].second, "no handler.");
}

TEST_F(MainWindowTest, AboutLabelShowsTheAboutWindowModally) {
  Tflexora w(services);
  TForm3 about(services, w.Errors(), &w);
  Form3 = &about;
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    wasModal = QApplication::activeModalWidget() == &about && about.isVisible();
    about.Button1->click();
  });
  QTest::mouseClick(w.Label3, Qt::LeftButton);
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(about.isVisible());
  Form3 = nullptr;
}

}  // namespace
