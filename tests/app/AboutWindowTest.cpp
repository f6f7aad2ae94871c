#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/Site.h"
#include "app/Unit3.h"
#include "tests/app/AppFixture.h"
#include "ui/Controls.h"
#include "ui/EmbeddedWB.h"
#include "ui/Platform.h"
#include "ui/WebBrowser.h"

namespace {

using apptest::AppTest;

class AboutWindowTest : public AppTest {
 protected:
  AboutWindowTest() {
    WriteMarker();
    WriteStores();
    main_ = std::make_unique<Tflexora>(services);
    about_ = std::make_unique<TForm3>(services, main_->Errors(), main_.get());
  }
  // Shows the about window modally and runs then() while it is up.
  void ShowModal(const std::function<void()>& then) {
    QTimer::singleShot(0, [&] {
      then();
      if (about_->isVisible()) about_->Button1->click();
    });
    about_->ShowModal();
  }
  std::unique_ptr<Tflexora> main_;
  std::unique_ptr<TForm3> about_;
};

TEST_F(AboutWindowTest, WindowAndDescription) {
  TForm3& f = *about_;
  EXPECT_EQ(f.objectName(), "Form3");
  EXPECT_EQ(f.windowTitle(), "青禾英语词典");
  EXPECT_EQ(f.minimumSize(), QSize(576, 461));
  EXPECT_EQ(f.maximumSize(), QSize(576, 461));
  EXPECT_FALSE(f.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(f.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.GroupBox1->title(), "关于青禾英语词典");
  EXPECT_EQ(f.Button1->text(), "返回");
  EXPECT_EQ(f.Label3->text(), "官方主页");
  EXPECT_EQ(f.Label2->text(), QString("官方主页: ") + QINGHE_SITE_HOST + " ");
  EXPECT_EQ(f.font().pixelSize(), 11);
  const QColor navy(0, 0, 128);
  const struct {
    const char* name;
    QWidget* widget;
    QWidget* parent;
    QRect geometry;
    int fontPixels;
    bool navy, link;
  } table[] = {
      {"Label3", f.Label3, &f, {16, 432, 73, 16}, 13, true, true},
      {"GroupBox1", f.GroupBox1, &f, {16, 8, 545, 185}, 11, false, false},
      {"Label1", f.Label1, f.GroupBox1, {16, 24, 513, 137}, 13, false, false},
      {"Label2", f.Label2, f.GroupBox1, {16, 160, 201, 16}, 13, false, true},
      {"Button1", f.Button1, &f, {488, 424, 73, 33}, 13, true, false},
      {"WebBrowser1", f.WebBrowser1, &f, {16, 200, 545, 217}, 11, false, false},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.widget->parentWidget(), c.parent);
    EXPECT_EQ(c.widget->geometry(), c.geometry);
    EXPECT_EQ(c.widget->font().pixelSize(), c.fontPixels);
    EXPECT_EQ(c.widget->palette().color(QPalette::WindowText) == navy, c.navy);
    EXPECT_EQ(c.widget->cursor().shape() == Qt::PointingHandCursor, c.link);
  }
  EXPECT_EQ(f.Button1->palette().color(QPalette::ButtonText), navy);
  EXPECT_TRUE(f.Label1->wordWrap());
  EXPECT_EQ(f.Button1->nextInFocusChain(), f.WebBrowser1);

  const std::string text = ui::ToGbk(f.Label1->text());
  const std::string first = ui::Gbk(
      "青禾英语词典为绿色免费软件，是一部英汉-"
      "汉英双解词典，收录单词及词组30万条。每个词条都有详细的"
      "例句与用法以及词形变化和短语词组，可按词首、词尾、精确、模糊检索单词，支持英语单词检索同时也"
      "可"
      "输入汉字检索；本词典完全离线查询，断网亦可使用。青禾英语词典是一个学习英文的好工具。");
  ASSERT_EQ(text.compare(0, first.size() + 4, first + "\r\n\r\n"), 0);
  const std::string second = text.substr(first.size() + 4);
  EXPECT_FALSE(second.empty());
  EXPECT_EQ(second.find_first_of("\r\n"), std::string::npos);  // nothing after it either
  EXPECT_NE(second.find(ui::Gbk("青禾英语词典")), std::string::npos);
  EXPECT_EQ(text, app::AboutDescription());
}

TEST_F(AboutWindowTest, PageIsRequestedOnceAndShownOrReplacedByAnErrorPage) {
  ASSERT_EQ(pages.requested.size(), 1u);
  EXPECT_EQ(pages.requested[0].toString(),
            QString("http://") + QINGHE_SITE_HOST + "/softtj.php?soft=lexora&ref=shuoming");
  pages.pending[0]("<html><body><p>\xC7\xE0\xBA\xCC</p></body></html>", "text/html; charset=gbk",
                   {});
  EXPECT_EQ(about_->WebBrowser1->toPlainText(), "青禾");

  ShowModal([] {});
  ShowModal([] {});
  EXPECT_EQ(pages.requested.size(), 1u);

  TForm3 offline(services, main_->Errors(), main_.get());
  pages.pending.back()({}, {}, "Host not found");
  EXPECT_TRUE(offline.WebBrowser1->toPlainText().contains("无法显示此网页"));
  EXPECT_TRUE(offline.WebBrowser1->toPlainText().contains("Host not found"));

  TServices noNetwork = services;
  noNetwork.pages = nullptr;
  TForm3 unplugged(noNetwork, main_->Errors(), main_.get());
  EXPECT_TRUE(unplugged.WebBrowser1->toPlainText().contains("无法显示此网页"));
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(AboutWindowTest, BrowserRefusesWhatIsNotAWebAddress) {
  ui::TWebBrowser browser(&pages);
  for (const char* address : {"file:///etc/passwd", "about:blank", "http://", "not an address"}) {
    SCOPED_TRACE(address);
    EXPECT_THROW(browser.Navigate(address), ui::EPlatformError);
  }
  // Links in a page lead on through the fetcher, resolved against the page's address.
  browser.Navigate("http://a.example/dir/page.html");
  emit browser.anchorClicked(QUrl("other.html"));
  emit browser.anchorClicked(QUrl("file:///etc/passwd"));
  ASSERT_EQ(pages.requested.size(), 3u);
  EXPECT_EQ(pages.requested[2], QUrl("http://a.example/dir/other.html"));
  // A late answer to an earlier request does not overwrite the newer page.
  pages.pending[2]("<p>new</p>", "text/html", {});
  pages.pending[1]("<p>old</p>", "text/html", {});
  EXPECT_EQ(browser.toPlainText(), "new");
}

TEST_F(AboutWindowTest, RightButtonIsDroppedOnlyInsideTheBrowser) {
  struct Recorder : QObject {
    int seen = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease ||
          e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::ContextMenu) {
        ++seen;
      }
      return false;
    }
  };
  TForm3& f = *about_;
  QWidget* inside = f.WebBrowser1->viewport();
  QWidget* deeper = f.WebBrowser1->verticalScrollBar();
  const auto mouse = [](QEvent::Type type, Qt::MouseButton button) {
    return std::make_unique<QMouseEvent>(type, QPointF(5, 5), QPointF(5, 5), button, button,
                                         Qt::NoModifier);
  };
  const struct {
    const char* name;
    QWidget* target;
    std::function<std::unique_ptr<QEvent>()> event;
    bool dropped;
  } cases[] = {
      {"press inside", inside, [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); },
       true},
      {"release inside", inside, [&] { return mouse(QEvent::MouseButtonRelease, Qt::RightButton); },
       true},
      {"double inside", inside, [&] { return mouse(QEvent::MouseButtonDblClick, Qt::RightButton); },
       true},
      {"menu inside", inside,
       [] { return std::make_unique<QContextMenuEvent>(QContextMenuEvent::Mouse, QPoint(5, 5)); },
       true},
      {"deeper", deeper, [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); }, true},
      {"left inside", inside, [&] { return mouse(QEvent::MouseButtonPress, Qt::LeftButton); },
       false},
      {"menu key inside", inside,
       [] {
         return std::make_unique<QContextMenuEvent>(QContextMenuEvent::Keyboard, QPoint(5, 5));
       },
       false},
      {"browser itself", f.WebBrowser1,
       [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); }, false},
      {"description", f.Label1, [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); },
       false},
      {"button", f.Button1, [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); },
       false},
      {"entry view", main_->EmbeddedWB1->viewport(),
       [&] { return mouse(QEvent::MouseButtonPress, Qt::RightButton); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder recorder;
    c.target->installEventFilter(&recorder);
    const std::unique_ptr<QEvent> event = c.event();
    QApplication::sendEvent(c.target, event.get());
    c.target->removeEventFilter(&recorder);
    EXPECT_EQ(recorder.seen, c.dropped ? 0 : 1);
  }
}

TEST_F(AboutWindowTest, ClosingHidesAndLaterShowingsKeepThePosition) {
  main_->move(100, 50);
  main_->show();
  QPoint first;
  ShowModal([&] {
    first = about_->geometry().center();
    about_->move(30, 40);
  });
  EXPECT_LE((first - main_->geometry().center()).manhattanLength(), 2);
  EXPECT_FALSE(about_->isVisible());

  main_->move(300, 200);
  QPoint second;
  bool closedByBox = false;
  QTimer::singleShot(0, [&] {
    second = about_->pos();
    about_->close();  // the close box
    closedByBox = !about_->isVisible();
  });
  about_->ShowModal();
  EXPECT_EQ(second, QPoint(30, 40));
  EXPECT_TRUE(closedByBox);
  EXPECT_TRUE(main_->isVisible());
}

TEST_F(AboutWindowTest, LinksOpenTheHomePage) {
  QTest::mouseClick(about_->Label2, Qt::LeftButton);
  QTest::mouseClick(about_->Label3, Qt::LeftButton);
  const std::string home = std::string("http://") + QINGHE_SITE_HOST + "/";
  EXPECT_EQ(urls.opened, (std::vector<std::string>{home, home}));
}

}  // namespace
