#pragma once

// The main window: every control of the dictionary and the handlers wired to them. Each group
// of handlers has a file of its own in app/ and calls into search/, entry/ and store/, which
// never see the window.

#include <QIcon>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/ErrorHandler.h"
#include "ui/Ports.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolBar;
class QToolButton;
class TSQLiteDatabase;

namespace ui {
class TClientDataSet;
class TDBGridEh;
class TEdit;
class TEmbeddedWB;
class TGroupBox;
class TLabel;
class IPageFetcher;
}  // namespace ui

// The lookup state shared by the main window's handlers; all empty or zero at program start.
struct TLookupState {
  std::string CurrentEntryId;  // id of the entry on show (decimal digits)
  std::string CurrentWord;     // headword of the entry on show, GBK bytes as stored
  std::string SearchTerm;      // last search text, trimmed
  int PageCounter = 0;         // number of the page file last written, 0..10
  std::string PagePath;        // "html/" + PageCounter + ".html"
  bool VoiceChosen = false;    // the speech voice has been chosen in this run
};
extern TLookupState LookupState;

// The platform services the main window uses; tests hand in fakes.
struct TServices {
  ui::IDialogs* dialogs = nullptr;
  ui::IUrlOpener* urls = nullptr;
  ui::IShellLinks* links = nullptr;
  ui::ISpeechVoice* speech = nullptr;
  ui::IClipboard* clipboard = nullptr;
  // Loads the about window's page; null means no network access.
  ui::IPageFetcher* pages = nullptr;
  // Seed of the start-up listing's random number.
  std::function<std::uint32_t()> seed;
  // Full path of the running program file (GBK bytes).
  std::string exePath;
  // Where the first-run marker and the page ring are written (GBK bytes): by default the
  // working folder; the user's own folders where that folder is not the user's to write.
  std::string markerPath = "ado.dll";
  std::string pageFolder;  // put before "html/N.html"; empty or ending in "/"
};

class Tflexora : public QWidget {
  Q_OBJECT

 public:
  // Builds the layout, wires the handlers and runs FormCreate (its errors go to the error box).
  explicit Tflexora(const TServices& services, QWidget* parent = nullptr);
  ~Tflexora() override;

  QGroupBox* RadioGroup1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  ui::TGroupBox* GroupBox2 = nullptr;
  ui::TDBGridEh* DBGridEh1 = nullptr;
  ui::TEdit* Edit1 = nullptr;
  ui::TClientDataSet* ClientDataSet1 = nullptr;
  QRadioButton* r1 = nullptr;
  QRadioButton* r2 = nullptr;
  QRadioButton* r3 = nullptr;
  QRadioButton* r4 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  ui::TEdit* eso = nullptr;
  QPushButton* Button1 = nullptr;
  QLabel* Label1 = nullptr;
  std::array<QIcon, 2> ImageList1;  // 0 copy, 1 loudspeaker
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton1 = nullptr;
  QToolButton* ToolButton2 = nullptr;
  ui::ISpeechVoice* SpVoice1 = nullptr;
  ui::TLabel* Label2 = nullptr;
  ui::TLabel* Label3 = nullptr;
  ui::TLabel* Label4 = nullptr;
  ui::TEmbeddedWB* EmbeddedWB1 = nullptr;
  ui::TLabel* Label5 = nullptr;

  // Result list (ResultList.cpp).
  void showxx(const std::string& statement, int mode);
  void showeno(int mode);
  void DBGridEh1CellClick();
  // Entry page (EntryPage.cpp). The second form looks the word up on the word index connection
  // the caller already holds open.
  void shownr(const std::string& statement);
  void shownr(const std::string& statement, TSQLiteDatabase& index);
  void Label2Click();
  // Search (Search.cpp).
  void Edit1Change();
  void Edit1Click();
  void esoKeyPress(char& Key);
  void Button1Click();
  // Pronunciation (Pronunciation.cpp), copy command (CopyCommand.cpp).
  void ToolButton1Click();
  void ToolButton2Click();
  // Start-up and labels (lexora.cpp), desktop shortcut (Shortcut.cpp).
  void FormCreate();
  void Label3Click();
  void Label4Click();
  void Label5Click();
  bool CreateShortcut(const std::string& target, const std::string& linkName,
                      const std::string& directory, int folder);

  const TServices& Services() const { return services_; }
  const app::TErrorHandler& Errors() const { return errors_; }
  // The statement FormCreate handed to showxx for the start-up listing; empty before that.
  const std::string& StartupStatement() const { return startupStatement_; }

 private:
  void BuildLayout();
  void WireHandlers();

  TServices services_;
  app::TErrorHandler errors_;
  std::string startupStatement_;
};
