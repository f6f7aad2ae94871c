// The speak and copy buttons of the main window, over fixture stores in a temporary working
// folder and faked platform services.

#include <gtest/gtest.h>

#include <QApplication>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/lexora.h"
#include "tests/entry/RecordingSpeech.h"
#include "tests/support/Fakes.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"
#include "ui/QtSpeech.h"

namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;
using testsupport::FixtureRow;
using ui::Gbk;

const char* const kCopied = "已经成功复制到剪贴板！发给你的好友吧";

class MainWindow : public ::testing::Test {
 protected:
  void Open(const std::vector<FixtureRow>& rows, ui::ISpeechVoice* voice) {
    LookupState = TLookupState{};
    testsupport::WriteFixtureStores(rows);
    ui::WriteFileBytes("ado.dll", "ok");
    fs::create_directory("html");
    ui::WriteFileBytes("html/encd.css", ".word{color:#c00000}");
    TServices services;
    services.dialogs = &dialogs;
    services.clipboard = &clipboard;
    services.speech = voice;
    services.seed = [] { return 0u; };
    // The program's folder is the working folder, so the pages shown are the pages written.
    services.exePath = ui::LocalPathToGbk((dir.path() / "qinghe").string());
    w = std::make_unique<Tflexora>(services);
    dialogs.errors.clear();
  }
  void OpenSpeaking() { Open({{1, "apple", "苹果"}}, &speech); }
  // The speak button clicked with this word on show.
  void Say(const std::string& word) {
    LookupState.CurrentWord = word;
    w->ToolButton1->click();
  }

  testsupport::TempWorkDir dir;
  testsupport::FakeDialogs dialogs;
  testsupport::FakeClipboard clipboard;
  testsupport::RecordingSpeech speech;
  std::unique_ptr<Tflexora> w;
};

struct VoiceCase {
  const char* name;
  QStringList voices;
  Calls choice;  // calls of the voice choice
};

TEST_F(MainWindow, TheFirstClickChoosesTheFirstVoiceNamingAnnaOrSam) {
  const VoiceCase cases[] = {
      {"Anna listed first",
       {"Microsoft Anna - English (United States)", "Microsoft Sam - English (United States)"},
       {"count", "describe 0", "voice 0"}},
      {"Sam listed first",
       {"eSpeak", "Microsoft Sam - English (United States)", "Microsoft Anna - English"},
       {"count", "describe 0", "describe 1", "voice 1"}},
      {"capitals",
       {"kal16", "MICROSOFT ANNA - ENGLISH"},
       {"count", "describe 0", "describe 1", "voice 1"}},
      {"longer name", {"Microsoft Samantha"}, {"count", "describe 0", "voice 0"}},
      {"Chinese description",
       {QStringLiteral("Microsoft Anna - 英语（美国）")},
       {"count", "describe 0", "voice 0"}},
      // Its second byte is "M", but a Chinese character is not lower-cased.
      {"double-byte character ending in M",
       {ui::FromGbk("\x81\x4D"
                    "icrosoft Sam")},
       {"count", "describe 0"}},
      {"no match",
       {"kal16 - English (United States)", "Microsoft Mary", "anna sam"},
       {"count", "describe 0", "describe 1", "describe 2"}},
      {"no voices", {}, {"count"}},
  };
  for (const auto& c : cases) {
    testsupport::RecordingSpeech voice;
    voice.voices = c.voices;
    Open({{1, "apple", "苹果"}}, &voice);
    LookupState.CurrentWord = "apple";
    w->ToolButton1->click();
    Calls expected = c.choice;
    expected.push_back("speak 2 ''");
    expected.push_back("speak 1 'apple'");
    EXPECT_EQ(voice.calls, expected) << c.name;
    EXPECT_TRUE(LookupState.VoiceChosen) << c.name;
    EXPECT_TRUE(dialogs.errors.empty()) << c.name;

    // Chosen once per run: the next click only purges and speaks.
    voice.calls.clear();
    w->ToolButton1->click();
    EXPECT_EQ(voice.calls, (Calls{"speak 2 ''", "speak 1 'apple'"})) << c.name;
  }
}

TEST_F(MainWindow, AFailedVoiceChoiceIsReportedAndTriedAgain) {
  speech.voices = {"kal16", "Microsoft Sam"};
  speech.failCount = true;
  OpenSpeaking();
  Say("apple");
  EXPECT_EQ(speech.calls, Calls{"count"});
  EXPECT_FALSE(LookupState.VoiceChosen);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].second, "cannot list voices.");

  speech.failCount = false;
  speech.failDescription = 1;
  speech.calls.clear();
  Say("apple");
  EXPECT_EQ(speech.calls, (Calls{"count", "describe 0", "describe 1"}));
  EXPECT_FALSE(LookupState.VoiceChosen);
  EXPECT_EQ(dialogs.errors.size(), 2u);

  speech.failDescription.reset();
  speech.failVoice = true;
  speech.calls.clear();
  Say("apple");
  EXPECT_EQ(speech.calls, (Calls{"count", "describe 0", "describe 1", "voice 1"}));
  EXPECT_FALSE(LookupState.VoiceChosen);
  EXPECT_EQ(dialogs.errors.size(), 3u);

  speech.failVoice = false;
  speech.calls.clear();
  Say("apple");
  EXPECT_EQ(speech.calls, (Calls{"count", "describe 0", "describe 1", "voice 1", "speak 2 ''",
                                 "speak 1 'apple'"}));
  EXPECT_TRUE(LookupState.VoiceChosen);
  EXPECT_EQ(dialogs.errors.size(), 3u);
}

TEST_F(MainWindow, EveryClickPurgesFirstAndSpeaksTheWholeWordUntrimmed) {
  OpenSpeaking();
  const struct {
    std::string word;
    Calls calls;
  } cases[] = {
      {"", {"speak 2 ''"}},
      {" \t\r\n", {"speak 2 ''"}},
      {"apple", {"speak 2 ''", "speak 1 'apple'"}},
      {"  ice cream\t", {"speak 2 ''", "speak 1 '  ice cream\t'"}},
      {Gbk(" 苹果 "), {"speak 2 ''", "speak 1 ' 苹果 '"}},
  };
  for (const auto& c : cases) {
    speech.calls.clear();
    Say(c.word);
    if (!LookupState.VoiceChosen) FAIL() << "voice not chosen";
    // The first click of the run also lists the voices (there are none).
    if (speech.calls.front() == "count") speech.calls.erase(speech.calls.begin());
    EXPECT_EQ(speech.calls, c.calls) << c.word;
  }
  // A second click while the first word is being said cuts it off and starts again.
  speech.calls.clear();
  Say("apple");
  Say("apple");
  EXPECT_EQ(speech.calls,
            (Calls{"speak 2 ''", "speak 1 'apple'", "speak 2 ''", "speak 1 'apple'"}));
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(MainWindow, ASpeechEngineThatCannotSpeakIsReportedOnEveryClick) {
  speech.failSpeak = true;
  OpenSpeaking();
  Say("apple");
  Say("apple");
  // The purge fails, so nothing is asked to be said.
  EXPECT_EQ(speech.calls, (Calls{"count", "speak 2 ''", "speak 2 ''"}));
  ASSERT_EQ(dialogs.errors.size(), 2u);
  EXPECT_EQ(dialogs.errors[1].second, "No audio device available.");
}

TEST_F(MainWindow, WithoutAUsableEngineTheRealAdapterReportsEveryClick) {
  ui::TQtSpeechVoice voice(QStringList{QStringLiteral("no-such-engine")});
  Open({{1, "apple", "苹果"}}, &voice);
  Say("apple");
  Say("apple");
  EXPECT_FALSE(LookupState.VoiceChosen);
  ASSERT_EQ(dialogs.errors.size(), 2u);
  EXPECT_FALSE(dialogs.errors[0].second.empty());
  EXPECT_EQ(dialogs.errors[0], dialogs.errors[1]);
}

TEST_F(MainWindow, CopyPutsTheEntryOnTheClipboardAndConfirms) {
  OpenSpeaking();
  ui::WriteFileBytes("html/5.html", Gbk("<html><head><meta http-equiv=\"content-type\" "
                                        "content=\"text/html;charset=gbk\"></head><body>"
                                        "<p class=\"word\">apple</p>苹果</body></html>"));
  w->EmbeddedWB1->Navigate(ui::LocalPathToGbk((dir.path() / "html" / "5.html").string()));
  w->ToolButton2->click();
  EXPECT_TRUE(dialogs.errors.empty());
  ASSERT_EQ(clipboard.calls, 1);
  for (const QString& part : {QStringLiteral("apple"), QStringLiteral("苹果")}) {
    EXPECT_TRUE(clipboard.html.contains(part)) << clipboard.html.toStdString();
    EXPECT_TRUE(clipboard.text.contains(part)) << clipboard.text.toStdString();
  }
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, Gbk(kCopied));
  EXPECT_EQ(dialogs.shown[0].type, ui::DialogType::Information);
  EXPECT_EQ(dialogs.shown[0].buttons, ui::DialogButtons::OK);
  EXPECT_TRUE(w->EmbeddedWB1->textCursor().hasSelection());
}

TEST_F(MainWindow, CopyRightAfterStartUpCopiesTheEntryShownAtStartUp) {
  Open({{7, "pear", "<S C=cn>梨，一种水果</S>"}}, &speech);
  ASSERT_TRUE(w->EmbeddedWB1->HasPage());
  w->ToolButton2->click();
  EXPECT_TRUE(dialogs.errors.empty());
  for (const QString& part : {QStringLiteral("pear"), QStringLiteral("梨，一种水果")}) {
    EXPECT_TRUE(clipboard.html.contains(part)) << clipboard.html.toStdString();
    EXPECT_TRUE(clipboard.text.contains(part)) << clipboard.text.toStdString();
  }
  // The entry's style sheet travels along.
  EXPECT_TRUE(clipboard.html.contains(QStringLiteral("#c00000"))) << clipboard.html.toStdString();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, Gbk(kCopied));
}

TEST_F(MainWindow, CopyWithNoPageShownIsAnErrorWithoutConfirmation) {
  Open({}, &speech);  // nothing listed at start-up, so nothing is shown
  w->ToolButton2->click();
  EXPECT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(clipboard.calls, 0);
}

}  // namespace
