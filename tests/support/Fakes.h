#pragma once

// Recording fakes of the platform ports, with scripted answers.

#include <deque>
#include <string>
#include <vector>

#include "ui/Ports.h"

namespace testsupport {

struct FakeDialogs : ui::IDialogs {
  struct Shown {
    std::string text;
    ui::DialogType type;
    ui::DialogButtons buttons;
  };
  std::vector<Shown> shown;
  std::deque<int> answers;  // answers handed out in turn; mrOK / mrNo when none is left
  std::vector<std::pair<std::string, std::string>> errors;  // (caption, text) of error boxes

  int MessageDlg(const std::string& text, ui::DialogType type, ui::DialogButtons buttons) override {
    shown.push_back({text, type, buttons});
    if (!answers.empty()) {
      const int a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == ui::DialogButtons::YesNo ? ui::mrNo : ui::mrOK;
  }
  void ErrorBox(const std::string& caption, const std::string& text) override {
    errors.emplace_back(caption, text);
  }
};

struct FakeUrlOpener : ui::IUrlOpener {
  std::vector<std::string> opened;
  void Open(const std::string& address) override { opened.push_back(address); }
};

struct FakeClipboard : ui::IClipboard {
  QString html, text;
  int calls = 0;
  void SetContent(const QString& h, const QString& t) override {
    html = h;
    text = t;
    ++calls;
  }
};

}  // namespace testsupport
