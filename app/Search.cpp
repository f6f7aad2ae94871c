#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <utility>

#include "app/lexora.h"
#include "search/Query.h"
#include "ui/Controls.h"
#include "ui/Gbk.h"

namespace {

// The box's text as GBK bytes, without NUL characters: a statement ends at a NUL, so one
// pasted into the box would cut the statement short.
std::string BoxText(const QLineEdit* box) {
  std::string text = ui::ToGbk(box->text());
  std::erase(text, '\0');
  return text;
}

}  // namespace

void Tflexora::Edit1Change() {
  const std::string text = search::TrimBlank(BoxText(Edit1));
  if (text.empty()) return;
  LookupState.SearchTerm = text;
  showxx(search::IncrementalStatement(text), 1);
}

void Tflexora::Edit1Click() {
  // The prompt goes with the first click; the change it makes finds an empty text.
  if (ui::ToGbk(Edit1->text()) == ui::Gbk("请输入英语或汉字")) Edit1->setText(QString());
}

void Tflexora::esoKeyPress(char& Key) {
  if (Key == '\r') Button1->click();
}

void Tflexora::Button1Click() {
  const std::string text = search::TrimBlank(BoxText(eso));
  LookupState.SearchTerm = text;
  if (text.empty()) {
    services_.dialogs->MessageDlg(ui::Gbk("请输入要查询的内容?"), ui::DialogType::Warning,
                                  ui::DialogButtons::OK);
    return;
  }
  const std::pair<QRadioButton*, search::TQuickMode> modes[] = {{r1, search::TQuickMode::WordStart},
                                                                {r2, search::TQuickMode::WordEnd},
                                                                {r3, search::TQuickMode::Fuzzy},
                                                                {r4, search::TQuickMode::Exact}};
  for (const auto& [button, mode] : modes) {
    if (button->isChecked()) showxx(search::QuickStatement(mode, text), 2);
  }
}
