#include <QDir>
#include <QGroupBox>
#include <QPalette>

#include "app/Site.h"
#include "app/lexora.h"
#include "entry/PageBuilder.h"
#include "search/Query.h"
#include "store/StoreTable.h"
#include "store/gob.h"
#include "ui/Controls.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"

void Tflexora::shownr(const std::string& statement) {
  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  shownr(statement, index);
}

void Tflexora::shownr(const std::string& statement, TSQLiteDatabase& index) {
  const std::unique_ptr<TSQLiteTable> word = index.GetTable(statement);
  if (word->Count() == 0) return;
  const std::string title = word->FieldAsString(word->FieldIndex("title"));
  const std::string id = word->FieldAsString(word->FieldIndex("id"));

  // A lone "&" in a group box title marks a shortcut and is not drawn; "&&" draws one.
  GroupBox2->SetCaption(
      ui::FromGbk(ui::Gbk("单词: ") + title).replace(QLatin1Char('&'), QLatin1String("&&")));
  LookupState.CurrentWord = title;
  LookupState.CurrentEntryId = id;

  TSQLiteDatabase entries(EntryStoreName, EntryStoreKey);
  const std::unique_ptr<TSQLiteTable> entry =
      entries.GetTable(search::EntryStatement(LookupState.CurrentEntryId));
  if (entry->Count() == 0) return;

  const std::string page =
      entry::ExpandMarkup(entry::BuildPage(title, entry->FieldAsString(entry->FieldIndex("a"))));
  LookupState.PageCounter = entry::NextPageCounter(LookupState.PageCounter);
  LookupState.PagePath = entry::PagePathOf(LookupState.PageCounter);
  const std::string file = services_.pageFolder + LookupState.PagePath;
  ui::WriteFileBytes(file, page);
  // The page just written, wherever the working folder is: the program folder may hold a
  // stale copy or none at all.
  EmbeddedWB1->Navigate(QDir::current().absoluteFilePath(ui::FromGbk(file)));

  Label2->setVisible(true);
  static const QColor kNavy(0, 0, 128);
  static const QColor kRed(255, 0, 0);
  QPalette palette = Label2->palette();
  const bool navy = palette.color(QPalette::WindowText) == kNavy;
  palette.setColor(QPalette::WindowText, navy ? kRed : kNavy);
  Label2->setPalette(palette);
  // A headword is text even where it looks like markup.
  Label2->setTextFormat(Qt::PlainText);
  Label2->setText(ui::FromGbk(ui::Gbk("联网查看单词:") + LookupState.CurrentWord));
  Label2->adjustSize();
}

void Tflexora::Label2Click() {
  services_.urls->Open(app::EntryPageAddress(LookupState.CurrentWord));
}
