#include <memory>
#include <utility>
#include <vector>

#include "app/lexora.h"
#include "search/IndexedQuery.h"
#include "search/ListFill.h"
#include "search/Query.h"
#include "store/StoreTable.h"
#include "store/gob.h"
#include "ui/DataGrid.h"
#include "ui/Gbk.h"

void Tflexora::showxx(const std::string& statement, int mode) {
  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  // The same rows in the same order, through the store's indexes where it has them. Every
  // row is read before the list is touched, so a failing read leaves it as it was.
  const std::vector<search::TFoundRow> rows = search::FindRows(index, statement);
  if (rows.empty()) {
    showeno(mode);
    return;
  }
  search::TListFill fill = search::BuildListFill(rows, LookupState.SearchTerm);

  std::vector<std::string> values;
  values.reserve(2 * fill.ids.size());
  for (std::size_t i = 0; i < fill.ids.size(); ++i) {
    values.push_back(std::move(fill.ids[i]));
    values.push_back(std::move(fill.words[i]));
  }
  ClientDataSet1->RebuildFlat({{"id", search::kIdWidth}, {ui::Gbk("单词"), search::kWordWidth}},
                              std::move(values));
  ClientDataSet1->First();
  DBGridEh1->setColumnHidden(0, true);

  // The entry is part of this look-up: its word comes from the same connection.
  shownr(search::EntryStatement(fill.entryId), index);
}

void Tflexora::showeno(int mode) {
  if (mode != 2) return;
  services_.dialogs->MessageDlg(ui::Gbk("没有检索结果,请检查输入内容是否有误?"),
                                ui::DialogType::Warning, ui::DialogButtons::OK);
}

void Tflexora::DBGridEh1CellClick() {
  // The id sits in the grid's first column, hidden or not.
  if (ClientDataSet1->FieldCount() == 0 || ClientDataSet1->RecNo() < 0) return;
  const std::string id = ClientDataSet1->Value(ClientDataSet1->RecNo(), 0);
  if (id == LookupState.CurrentEntryId) return;
  shownr(search::EntryStatement(id));
}
