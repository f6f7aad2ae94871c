#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/Controls.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/WebBrowser.h"

namespace {

struct BoxSeen {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton, escapeButton;
  bool centred = false;
};

// Runs show() with act() applied to the message box once it is up.
BoxSeen WithBox(const std::function<void()>& show, const std::function<void(QMessageBox&)>& act) {
  BoxSeen seen;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    seen.buttons.sort();
    seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    seen.escapeButton = box->escapeButton() ? box->escapeButton()->text() : QString();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    seen.centred = (box->frameGeometry().center() - screenCentre).manhattanLength() <= 2;
    act(*box);
  });
  show();
  return seen;
}

void Press(QMessageBox& box, const QString& label) {
  for (QAbstractButton* b : box.buttons()) {
    if (b->text() == label) b->click();
  }
}

TEST(QtDialogsTest, CaptionIconButtonsAndResults) {
  const struct {
    ui::DialogType type;
    ui::DialogButtons buttons;
    const char* caption;
    QMessageBox::Icon icon;
    std::function<void(QMessageBox&)> act;
    int result;
  } cases[] = {
      {ui::DialogType::Warning, ui::DialogButtons::OK, "警告", QMessageBox::Warning,
       [](QMessageBox& b) { Press(b, "确定"); }, ui::mrOK},
      {ui::DialogType::Information, ui::DialogButtons::OK, "提示", QMessageBox::Information,
       [](QMessageBox& b) { b.close(); }, ui::mrOK},
      {ui::DialogType::Error, ui::DialogButtons::OK, "错误", QMessageBox::Critical,
       [](QMessageBox& b) { Press(b, "确定"); }, ui::mrOK},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, "确认", QMessageBox::Question,
       [](QMessageBox& b) { Press(b, "是(&Y)"); }, ui::mrYes},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, "确认", QMessageBox::Question,
       [](QMessageBox& b) { Press(b, "否(&N)"); }, ui::mrNo},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, "确认", QMessageBox::Question,
       [](QMessageBox& b) {
         QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(&b, &esc);
       },
       ui::mrNo},
      {ui::DialogType::Confirmation, ui::DialogButtons::YesNo, "确认", QMessageBox::Question,
       [](QMessageBox& b) { b.close(); }, ui::mrNo},
  };
  ui::TQtDialogs dialogs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    int result = -1;
    const BoxSeen seen = WithBox(
        [&] { result = dialogs.MessageDlg(ui::Gbk("一行\r\n两行"), c.type, c.buttons); }, c.act);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.caption, c.caption);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.text, "一行\r\n两行");
    EXPECT_TRUE(seen.centred);
    if (c.buttons == ui::DialogButtons::YesNo) {
      EXPECT_EQ(seen.buttons, (QStringList{"否(&N)", "是(&Y)"}));
      EXPECT_EQ(seen.defaultButton, "是(&Y)");
      EXPECT_EQ(seen.escapeButton, "否(&N)");
    } else {
      EXPECT_EQ(seen.buttons, QStringList{"确定"});
      EXPECT_EQ(seen.defaultButton, "确定");
      EXPECT_EQ(seen.escapeButton, "确定");
    }
  }
}

TEST(QtDialogsTest, ErrorBoxHasTheCaptionStopIconAndOneButton) {
  ui::TQtDialogs dialogs;
  const BoxSeen seen =
      WithBox([&] { dialogs.ErrorBox(ui::Gbk("青禾英语词典"), ui::Gbk("出错了.")); },
              [](QMessageBox& b) { Press(b, "确定"); });
  EXPECT_EQ(seen.caption, "青禾英语词典");
  EXPECT_EQ(seen.text, "出错了.");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QStringList{"确定"});
}

class UrlSink : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened << url; }
};

TEST(QtUrlOpenerTest, AddressReachesTheSystemHandlerUnchanged) {
  UrlSink sink;
  QDesktopServices::setUrlHandler("http", &sink, "Open");
  ui::TQtUrlOpener opener;
  opener.Open("http://www.qinghe.example/");
  opener.Open("http://www.qinghe.example/en/ice%20cream%C7%E0.html");
  QDesktopServices::unsetUrlHandler("http");
  ASSERT_EQ(sink.opened.size(), 2);
  EXPECT_EQ(sink.opened[0].toEncoded(), "http://www.qinghe.example/");
  EXPECT_EQ(sink.opened[1].toEncoded(), "http://www.qinghe.example/en/ice%20cream%C7%E0.html");
}

TEST(NetworkPageFetcherTest, PageFromALocalServerAndTheErrorPageWhenNoneAnswers) {
  QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  QByteArray request;
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [&request, socket] {
      request += socket->readAll();
      if (!request.contains("\r\n\r\n")) return;
      socket->write(
          "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=GBK\r\n\r\n"
          "<p>\xC7\xE0\xBA\xCC</p>");
      socket->disconnectFromHost();
    });
  });
  const QString address = QStringLiteral("http://127.0.0.1:%1/softtj.php?soft=lexora&ref=shuoming")
                              .arg(server.serverPort());

  ui::TNetworkPageFetcher fetcher;
  ui::TWebBrowser browser(&fetcher);
  browser.Navigate(address);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !browser.toPlainText().isEmpty(); }, 20000));
  EXPECT_EQ(browser.toPlainText(), "青禾");
  EXPECT_TRUE(request.startsWith("GET /softtj.php?soft=lexora&ref=shuoming HTTP/1.1\r\n"));

  server.close();
  ui::TWebBrowser offline(&fetcher);
  offline.Navigate(address);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !offline.toPlainText().isEmpty(); }, 20000));
  EXPECT_TRUE(offline.toPlainText().contains("无法显示此网页"));
}

TEST(ControlsTest, EditReportsClicksAndTypedCharactersAndKeepsThem) {
  ui::TEdit edit;
  std::string typed;
  int clicks = 0;
  QObject::connect(&edit, &ui::TEdit::keyPressed, [&](char key) { typed += key; });
  QObject::connect(&edit, &ui::TEdit::clicked, [&] { ++clicks; });
  QTest::keyClicks(&edit, "ab");
  QTest::keyClick(&edit, Qt::Key_Return);
  QTest::keyClick(&edit, Qt::Key_Enter);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_Shift);  // no character
  QTest::mouseClick(&edit, Qt::LeftButton);
  QTest::mouseClick(&edit, Qt::RightButton);
  EXPECT_EQ(typed, "ab\r\r\b");
  EXPECT_EQ(edit.text(), "a");  // the keys still reach the box
  EXPECT_EQ(clicks, 1);

  ui::TLabel label("x");
  label.resize(40, 20);
  int labelClicks = 0;
  QObject::connect(&label, &ui::TLabel::clicked, [&] { ++labelClicks; });
  QTest::mouseClick(&label, Qt::LeftButton);
  QTest::mouseClick(&label, Qt::RightButton);
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(100, 100));  // released outside
  EXPECT_EQ(labelClicks, 1);
}

}  // namespace

#include "PlatformTest.moc"
