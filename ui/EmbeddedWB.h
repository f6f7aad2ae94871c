#pragma once

// The entry view: a read-only HTML view of the entry pages the program writes, configured the
// way the dictionary needs it (Ctrl+N swallowed, no scripts, the view's own context menu and
// drop handling).

#include <QByteArray>
#include <QFont>
#include <QTextBrowser>
#include <optional>
#include <string>

#include "ui/ViewKeys.h"

namespace ui {

class IClipboard;

// Print settings stored with the view. The program never prints through the view, so they are
// kept but never applied.
struct TPrintOptions {
  enum TOrientation { poPortrait, poLandscape };
  bool Enabled = false;
  std::string Header;  // GBK
  std::string Footer = "&u&b&d";
  double Margins[4] = {19.05, 19.05, 19.05, 19.05};  // left, top, right, bottom
  TOrientation Orientation = poPortrait;
  std::string HTMLHeader = "<HTML></HTML>";
};

class TEmbeddedWB : public QTextBrowser {
  Q_OBJECT
 public:
  explicit TEmbeddedWB(QWidget* parent = nullptr);

  // Shows the page file at fullPathGbk (GBK bytes): decoded by the charset the page declares,
  // its linked style sheets resolved beside it. Raises EPlatformError when the file cannot be
  // read; the page shown before stays.
  void Navigate(const std::string& fullPathGbk);
  // The same for a path in the file system's own terms, which may hold characters GBK lacks.
  void Navigate(const QString& fullPath);

  // The font of page text that its style sheet leaves unstyled, kept apart from the view's own
  // font. A base font given here costs nothing per element, where one in the style sheet's body
  // rule is applied again by Qt's HTML import to every element of every page.
  void SetPageFont(const QFont& font);

  // True once a page has been shown.
  bool HasPage() const { return hasPage_; }

  // The two editing commands of the copy button. Both raise EPlatformError while the view
  // holds no page. The selection stays highlighted after the copy.
  void ExecSelectAll();
  void ExecCopy(IClipboard& clipboard);

  // Characters whose Ctrl shortcut the view swallows (GBK; compared with the low byte of the
  // key's virtual-key code).
  std::string DisableCtrlShortcuts = "N";
  TPrintOptions PrintOptions;

 signals:
  // A link to another headword was clicked: the entries write it as "#" + the headword.
  void WordLinkClicked(const QString& word);

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void RequirePage() const;

  bool hasPage_ = false;
  std::optional<QFont> pageFont_;
  QByteArray pageEncoding_;
  TSideKeys sideKeys_;
};

}  // namespace ui
