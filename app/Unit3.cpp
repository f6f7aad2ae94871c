#include "app/Unit3.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "app/Site.h"
#include "ui/Controls.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/WebBrowser.h"

TForm3* Form3 = nullptr;

namespace app {

std::string AboutDescription() {
  return ui::Gbk(
             "青禾英语词典为绿色免费软件，是一部英汉-汉英双解词典，收录单词及词组30万条。"
             "每个词条都有详细的例句与用法以及词形变化和短语词组，可按词首、词尾、精确、模糊检索单"
             "词，"
             "支持英语单词检索同时也可输入汉字检索；本词典完全离线查询，断网亦可使用。"
             "青禾英语词典是一个学习英文的好工具。") +
         "\r\n\r\n" +
         ui::Gbk(
             "青禾词典系列现已全部推出：青禾英语词典、青禾汉语词典、青禾成语词典和青禾古汉语词典，"
             "欢迎下载使用。");
}

}  // namespace app

namespace {

QFont SansSerif(int pixels) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(pixels);
  return font;
}

void SetNavy(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, QColor(0, 0, 128));
  p.setColor(QPalette::ButtonText, QColor(0, 0, 128));
  w->setPalette(p);
}

}  // namespace

TForm3::TForm3(const TServices& services, const app::TErrorHandler& errors, QWidget* parent)
    : QDialog(parent), services_(services), errors_(errors) {
  BuildLayout();
  const auto wire = [this](ui::TLabel* label, void (TForm3::*handler)()) {
    connect(label, &ui::TLabel::clicked, this,
            [this, handler] { errors_.Run([&] { (this->*handler)(); }); });
  };
  wire(Label2, &TForm3::Label2Click);
  wire(Label3, &TForm3::Label3Click);
  connect(Button1, &QPushButton::clicked, this, [this] { errors_.Run([&] { Button1Click(); }); });
  ApplicationEvents1 = new ui::TApplicationEvents(this);
  ApplicationEvents1->OnMessage = [this](QObject* target, QEvent* event) {
    bool handled = false;
    errors_.Run([&] { ApplicationEvents1Message(target, event, handled); });
    return handled;
  };
  errors_.Run([this] { FormCreate(); });
}

TForm3::~TForm3() {
  // The hook goes first: no event may reach this window's handlers while it is taken apart.
  delete ApplicationEvents1;
  ApplicationEvents1 = nullptr;
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::BuildLayout() {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("青禾英语词典"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(576, 461);
  setFont(SansSerif(11));

  Label3 = new ui::TLabel(QStringLiteral("官方主页"), this);
  Label3->setGeometry(16, 432, 73, 16);
  Label3->setFont(SansSerif(13));
  SetNavy(Label3);
  Label3->setCursor(Qt::PointingHandCursor);

  GroupBox1 = new QGroupBox(QStringLiteral("关于青禾英语词典"), this);
  GroupBox1->setGeometry(16, 8, 545, 185);
  Label1 = new ui::TLabel(GroupBox1);
  Label1->setGeometry(16, 24, 513, 137);
  Label1->setFont(SansSerif(13));
  Label1->setWordWrap(true);
  Label1->setTextFormat(Qt::PlainText);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2 = new ui::TLabel(
      QStringLiteral("官方主页: ") + ui::FromGbk(app::SiteHost()) + QStringLiteral(" "), GroupBox1);
  Label2->setGeometry(16, 160, 201, 16);
  Label2->setFont(SansSerif(13));
  Label2->setCursor(Qt::PointingHandCursor);

  Button1 = new QPushButton(QStringLiteral("返回"), this);
  Button1->setGeometry(488, 424, 73, 33);
  Button1->setFont(SansSerif(13));
  SetNavy(Button1);

  WebBrowser1 = new ui::TWebBrowser(services_.pages, this);
  WebBrowser1->setGeometry(16, 200, 545, 217);

  setTabOrder(Button1, WebBrowser1);
}

void TForm3::FormCreate() {
  Label1->setText(ui::FromGbk(app::AboutDescription()));
  WebBrowser1->Navigate(ui::FromGbk(app::AboutPageAddress()));
}

int TForm3::ShowModal() {
  if (!placed_) {
    // First showing: centred over the main window; afterwards it stays where it was left.
    const QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    // Not yet shown, this window has no frame of its own: borrow the main window's.
    const QSize decoration =
        main != nullptr ? main->frameGeometry().size() - main->size() : QSize();
    QRect frame(QPoint(), size() + decoration);
    if (main != nullptr) {
      frame.moveCenter(main->frameGeometry().center());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      frame.moveCenter(screen->availableGeometry().center());
    }
    move(frame.topLeft());
    placed_ = true;
  }
  return exec();
}

void TForm3::Button1Click() { reject(); }

void TForm3::ApplicationEvents1Message(QObject* target, QEvent* event, bool& Handled) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) return;
      break;
    case QEvent::ContextMenu:
      // Qt turns a right click into a context-menu event of its own; it goes with the click.
      if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Mouse) return;
      break;
    default:
      return;
  }
  const auto* widget = qobject_cast<QWidget*>(target);
  // Nested at any depth inside the browser; the browser's own widget does not count.
  if (widget != nullptr && widget != WebBrowser1 && WebBrowser1->isAncestorOf(widget)) {
    Handled = true;
  }
}

void TForm3::Label2Click() { services_.urls->Open(app::HomePageAddress()); }

void TForm3::Label3Click() { services_.urls->Open(app::HomePageAddress()); }
