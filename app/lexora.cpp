#include "app/lexora.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

#include "app/Images.h"
#include "app/Site.h"
#include "app/StartNumber.h"
#include "app/Unit3.h"
#include "ui/Controls.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"

TLookupState LookupState;

namespace {

QFont Font(const QStringList& families, int pixels) {
  QFont font;
  // Chinese fallbacks where the Windows faces are missing, so text never shows as boxes.
  QStringList all = families;
  all << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("Noto Sans CJK SC");
  font.setFamilies(all);
  font.setPixelSize(pixels);
  return font;
}
QFont SansSerif(int pixels) { return Font({QStringLiteral("MS Sans Serif")}, pixels); }
QFont Song(int pixels) { return Font({QStringLiteral("宋体"), QStringLiteral("SimSun")}, pixels); }

// The entry pages' base font; their style sheet leaves it to the entry view. A Latin font comes
// first: some CJK fonts lack the pinyin vowels with a caron, and Chinese falls back to the
// CJK fonts anyway.
QFont PageFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("sans-serif")});
  font.setPointSizeF(10.5);
  return font;
}

void SetColor(QWidget* w, const QColor& color) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, color);
  p.setColor(QPalette::ButtonText, color);
  w->setPalette(p);
}
const QColor kNavy(0, 0, 128);

ui::TLabel* LinkLabel(QWidget* parent, const QString& caption, const QFont& font) {
  auto* label = new ui::TLabel(caption, parent);
  label->setFont(font);
  SetColor(label, kNavy);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace

Tflexora::Tflexora(const TServices& services, QWidget* parent)
    : QWidget(parent), services_(services), errors_(*services.dialogs) {
  SpVoice1 = services_.speech;
  BuildLayout();
  WireHandlers();
  errors_.Run([this] { FormCreate(); });
}

Tflexora::~Tflexora() = default;

void Tflexora::BuildLayout() {
  setObjectName(QStringLiteral("flexora"));
  setWindowTitle(QStringLiteral("青禾英语词典 (英汉-汉英 双解词典)"));
  setFixedSize(694, 547);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(SansSerif(13));

  Label2 = LinkLabel(this, QStringLiteral("当前单词："), Song(13));
  Label2->move(14, 528);
  Label2->adjustSize();
  Label3 = LinkLabel(this, QStringLiteral("关于青禾词典"), Song(13));
  Label3->move(534, 528);
  Label3->adjustSize();
  Label4 = LinkLabel(this, QStringLiteral("官方主页"), Song(13));
  Label4->move(630, 528);
  Label4->adjustSize();

  RadioGroup1 = new QGroupBox(QStringLiteral("检索方式"), this);
  RadioGroup1->setGeometry(8, 8, 185, 81);

  GroupBox1 = new QGroupBox(QStringLiteral("检索结果"), this);
  GroupBox1->setGeometry(8, 96, 185, 425);
  ClientDataSet1 = new ui::TClientDataSet(this);
  DBGridEh1 = new ui::TDBGridEh(GroupBox1);
  DBGridEh1->setGeometry(8, 50, 169, 365);
  DBGridEh1->setModel(ClientDataSet1);
  Edit1 = new ui::TEdit(QStringLiteral("请输入英语或汉字"), GroupBox1);
  Edit1->setGeometry(8, 24, 169, 24);
  Edit1->setToolTip(QStringLiteral("请输入英语或汉字"));

  GroupBox2 = new ui::TGroupBox(QStringLiteral("英语单词"), this);
  GroupBox2->setGeometry(200, 96, 489, 425);
  ImageList1 = {app::CopyImage(), app::SpeakerImage()};
  // It straddles the group box's top border, right of the caption.
  ToolBar1 = new QToolBar(GroupBox2);
  ToolBar1->setGeometry(218, -5, 47, 22);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setMovable(false);
  ToolBar1->setFocusPolicy(Qt::NoFocus);
  const struct {
    QToolButton** button;
    int image;
    const char16_t* hint;
    int left;
  } tools[] = {{&ToolButton1, 1, u"朗读单词", 0}, {&ToolButton2, 0, u"复制整个词条", 23}};
  for (const auto& t : tools) {
    auto* button = new QToolButton(ToolBar1);
    button->setIcon(ImageList1[static_cast<std::size_t>(t.image)]);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf16(t.hint));
    button->setGeometry(t.left, 0, 23, 22);
    *t.button = button;
  }
  EmbeddedWB1 = new ui::TEmbeddedWB(GroupBox2);
  EmbeddedWB1->setGeometry(8, 20, 473, 398);
  EmbeddedWB1->SetPageFont(PageFont());

  const struct {
    QRadioButton** button;
    const char16_t* caption;
    int left, top;
  } radios[] = {{&r1, u"词首", 40, 32},
                {&r2, u"词尾", 112, 32},
                {&r3, u"模糊", 112, 60},
                {&r4, u"精确", 40, 60}};
  for (const auto& r : radios) {
    *r.button = new QRadioButton(QString::fromUtf16(r.caption), this);
    (*r.button)->setGeometry(r.left, r.top, 57, 18);
    (*r.button)->setFont(Song(13));
  }
  r1->setChecked(true);
  // Only the selected mode button is a tab stop; Qt keeps that up once one of them has focus.
  for (QRadioButton* r : {r2, r3, r4}) r->setFocusPolicy(Qt::ClickFocus);

  GroupBox3 = new QGroupBox(QStringLiteral("快速检索"), this);
  GroupBox3->setGeometry(200, 8, 489, 81);
  Label1 = new QLabel(QStringLiteral("请输入："), GroupBox3);
  Label1->setGeometry(24, 36, 76, 19);
  Label1->setFont(Song(19));
  SetColor(Label1, kNavy);
  Label5 = new ui::TLabel(QStringLiteral("使用说明"), GroupBox3);
  Label5->setGeometry(160, 0, 57, 16);
  Label5->setFont(SansSerif(11));
  Label5->setCursor(Qt::PointingHandCursor);
  eso = new ui::TEdit(GroupBox3);
  eso->setGeometry(104, 32, 209, 28);
  eso->setFont(SansSerif(16));
  eso->setToolTip(QStringLiteral("请输入英语或汉语"));
  Button1 = new QPushButton(QStringLiteral("查找"), GroupBox3);
  Button1->setGeometry(336, 26, 81, 38);
  Button1->setFont(Song(16));
  SetColor(Button1, kNavy);

  setTabOrder(DBGridEh1, Edit1);
  setTabOrder(Edit1, EmbeddedWB1);
  setTabOrder(EmbeddedWB1, r1);
  setTabOrder(r1, r2);
  setTabOrder(r2, r3);
  setTabOrder(r3, r4);
  setTabOrder(r4, eso);
  setTabOrder(eso, Button1);
}

void Tflexora::WireHandlers() {
  // Every handler runs under the default error handler: no error crosses Qt's frames.
  const auto wire = [this](auto* sender, auto signal, void (Tflexora::*handler)()) {
    connect(sender, signal, this, [this, handler] { errors_.Run([&] { (this->*handler)(); }); });
  };
  wire(Edit1, &QLineEdit::textChanged, &Tflexora::Edit1Change);
  wire(Edit1, &ui::TEdit::clicked, &Tflexora::Edit1Click);
  wire(Button1, &QPushButton::clicked, &Tflexora::Button1Click);
  wire(DBGridEh1, &QAbstractItemView::clicked, &Tflexora::DBGridEh1CellClick);
  wire(ToolButton1, &QToolButton::clicked, &Tflexora::ToolButton1Click);
  wire(ToolButton2, &QToolButton::clicked, &Tflexora::ToolButton2Click);
  wire(Label2, &ui::TLabel::clicked, &Tflexora::Label2Click);
  wire(Label3, &ui::TLabel::clicked, &Tflexora::Label3Click);
  wire(Label4, &ui::TLabel::clicked, &Tflexora::Label4Click);
  wire(Label5, &ui::TLabel::clicked, &Tflexora::Label5Click);
  // A word-form or traditional-form link in an entry looks its word up as if it were typed.
  connect(EmbeddedWB1, &ui::TEmbeddedWB::WordLinkClicked, Edit1, &QLineEdit::setText);
  connect(eso, &ui::TEdit::keyPressed, this,
          [this](char key) { errors_.Run([&] { esoKeyPress(key); }); });
}

void Tflexora::FormCreate() {
  if (!ui::FileExists(services_.markerPath)) {
    const int answer =
        services_.dialogs->MessageDlg(ui::Gbk("初次运行青禾英语词典,是否生成桌面快捷方式?"),
                                      ui::DialogType::Confirmation, ui::DialogButtons::YesNo);
    if (answer == ui::mrYes) CreateShortcut(services_.exePath, ui::Gbk("青禾英语词典"), "", -1);
    ui::WriteFileBytes(services_.markerPath, "ok");
  }
  LookupState.VoiceChosen = false;
  LookupState.PageCounter = 0;
  LookupState.SearchTerm.clear();
  std::uint32_t state = services_.seed ? services_.seed() : app::DefaultSeed();
  const std::uint32_t n = app::DrawStartNumber(state);
  startupStatement_ = "select * from enci where id>" + std::to_string(n) + " limit 5000";
  showxx(startupStatement_, 1);
}

void Tflexora::Label3Click() {
  if (Form3 != nullptr) Form3->ShowModal();
}

void Tflexora::Label4Click() { services_.urls->Open(app::HomePageAddress()); }

void Tflexora::Label5Click() {
  services_.dialogs->MessageDlg(
      ui::Gbk(
          "青禾英语词典为 英汉-汉英 双解词典 \r\n\r\n文本框内既可输入英语单词也可输入汉字！\r\n"),
      ui::DialogType::Information, ui::DialogButtons::OK);
}
