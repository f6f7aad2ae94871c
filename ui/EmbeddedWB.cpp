#include "ui/EmbeddedWB.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStringDecoder>
#include <QUrl>
#include <memory>

#include "ui/FlatScrollBars.h"
#include "ui/Gbk.h"
#include "ui/Ports.h"

namespace ui {

namespace {

// The pages and their style sheet are written in GBK unless they say otherwise.
constexpr const char* kDefaultEncoding = "GBK";

QStringDecoder DecoderByName(const QByteArray& name) {
  QStringDecoder decoder(name.isEmpty() ? kDefaultEncoding : name.constData());
  return decoder.isValid() ? std::move(decoder) : QStringDecoder(kDefaultEncoding);
}

// A style sheet without a byte-order mark or @charset rule is in the encoding of the page that
// links it, as browsers read it.
QString StyleSheetText(const QByteArray& bytes, const QByteArray& pageEncoding) {
  if (auto bom = QStringDecoder::encodingForData(bytes)) {
    return QStringDecoder(*bom).decode(bytes);
  }
  static const QByteArray kCharsetRule = "@charset \"";
  if (bytes.startsWith(kCharsetRule)) {
    const qsizetype end = bytes.indexOf('"', kCharsetRule.size());
    if (end > 0) {
      QStringDecoder declared(bytes.mid(kCharsetRule.size(), end - kCharsetRule.size()));
      if (declared.isValid()) return declared.decode(bytes);
    }
  }
  return DecoderByName(pageEncoding).decode(bytes);
}

// The page's own charset when it names one (byte-order mark or meta tag, as Qt looks for it);
// otherwise GBK, where Qt alone would guess UTF-8.
QStringDecoder PageDecoder(const QByteArray& bytes) {
  const QByteArray head = bytes.left(1024).toLower();
  const qsizetype meta = head.indexOf("meta ");
  const bool declared = QStringDecoder::encodingForData(bytes).has_value() ||
                        (meta >= 0 && head.indexOf("charset=", meta) >= 0);
  if (declared) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (decoder.isValid()) return decoder;
  }
  return QStringDecoder(kDefaultEncoding);
}

}  // namespace

TEmbeddedWB::TEmbeddedWB(QWidget* parent) : QTextBrowser(parent) {
  // Filled before the style draws it, so that a new page's length repaints the scroll bar
  // alone and not the group box and window beneath it as well.
  verticalScrollBar()->setAutoFillBackground(true);
  UseFlatScrollBars(*this);
  PrintOptions.Header = Gbk("w&b页码，&p/&P(&W)");
  // Web links open in the system's browser instead of replacing the entry.
  setOpenExternalLinks(true);
  // A link that is only a fragment names a headword (the page has no anchors of its own).
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment() &&
        !link.fragment().isEmpty()) {
      emit WordLinkClicked(link.fragment(QUrl::FullyDecoded));
    }
  });
}

void TEmbeddedWB::Navigate(const std::string& fullPathGbk) { Navigate(FromGbk(fullPathGbk)); }

void TEmbeddedWB::Navigate(const QString& path) {
  const std::string fullPathGbk = ToGbk(path);
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
    const QString reason =
        QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : file.errorString();
    throw EPlatformError("Cannot open page \"" + fullPathGbk + "\". " + ToGbk(reason));
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw EPlatformError("Cannot read page \"" + fullPathGbk + "\". " + ToGbk(file.errorString()));
  }
  QStringDecoder decoder = PageDecoder(bytes);
  pageEncoding_ = decoder.name();
  const QString html = decoder.decode(bytes);

  document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
  // setHtml empties the document first, which hides a shown scroll bar; a long page then gets
  // laid out at the full width and again when the bar comes back. Keeping the bar through the
  // load saves that second layout; the policy goes back at once.
  const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
  const bool keepBar = policy == Qt::ScrollBarAsNeeded && verticalScrollBar()->isVisible();
  if (keepBar) setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHtml(html);
  if (keepBar) setVerticalScrollBarPolicy(policy);
  hasPage_ = true;
}

void TEmbeddedWB::SetPageFont(const QFont& font) {
  pageFont_ = font;
  document()->setDefaultFont(font);
}

void TEmbeddedWB::changeEvent(QEvent* event) {
  QTextBrowser::changeEvent(event);
  // QTextEdit gives the document the widget's font whenever that changes.
  const bool fontChanged =
      event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange;
  if (fontChanged && pageFont_) document()->setDefaultFont(*pageFont_);
}

void TEmbeddedWB::RequirePage() const {
  if (!hasPage_) throw EPlatformError("The view holds no page");
}

void TEmbeddedWB::ExecSelectAll() {
  RequirePage();
  selectAll();
}

void TEmbeddedWB::ExecCopy(IClipboard& clipboard) {
  RequirePage();
  const std::unique_ptr<QMimeData> copied(createMimeDataFromSelection());
  if (!copied) throw EPlatformError("The selection cannot be copied");
  clipboard.SetContent(copied->html(), copied->text());
}

bool TEmbeddedWB::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      // Modifier keys may have changed while another control had the keyboard.
      sideKeys_.Reset();
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
      const auto& key = *static_cast<QKeyEvent*>(event);
      if (event->type() != QEvent::ShortcutOverride) sideKeys_.Observe(key);
      if (SwallowsShortcut(MessageKindOf(key), VirtualKeyOf(key),
                           sideKeys_.StatesFor(key.modifiers()), DisableCtrlShortcuts)) {
        // Accepting the override keeps window shortcuts from firing; the key press that
        // follows is dropped here.
        event->accept();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QTextBrowser::event(event);
}

QVariant TEmbeddedWB::loadResource(int type, const QUrl& name) {
  QVariant resource = QTextBrowser::loadResource(type, name);
  if (type == QTextDocument::StyleSheetResource && resource.userType() == QMetaType::QByteArray) {
    return StyleSheetText(resource.toByteArray(), pageEncoding_);
  }
  return resource;
}

}  // namespace ui
