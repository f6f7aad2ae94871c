#pragma once

// The about window: a short description, the maker's about page and links to the home page.

#include <QDialog>
#include <string>

#include "app/lexora.h"

class QEvent;
class QGroupBox;
class QPushButton;

namespace ui {
class TApplicationEvents;
class TLabel;
class TWebBrowser;
}  // namespace ui

namespace app {
// The description shown in the about window (GBK bytes).
std::string AboutDescription();
}  // namespace app

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  // Builds the window hidden and runs FormCreate (its errors go to the error box). The first
  // showing centres it over parent, the main window.
  TForm3(const TServices& services, const app::TErrorHandler& errors, QWidget* parent = nullptr);
  ~TForm3() override;

  // Shows the window modally; returns when it is closed.
  int ShowModal();

  QGroupBox* GroupBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  ui::TLabel* Label1 = nullptr;
  ui::TWebBrowser* WebBrowser1 = nullptr;
  ui::TApplicationEvents* ApplicationEvents1 = nullptr;
  ui::TLabel* Label2 = nullptr;
  ui::TLabel* Label3 = nullptr;

  void FormCreate();
  void Button1Click();
  // Drops right-button presses, releases and double-clicks aimed inside WebBrowser1.
  void ApplicationEvents1Message(QObject* target, QEvent* event, bool& Handled);
  void Label2Click();
  void Label3Click();

 private:
  void BuildLayout();

  TServices services_;
  const app::TErrorHandler errors_;
  bool placed_ = false;
};

// The one about window, created at start-up.
extern TForm3* Form3;
