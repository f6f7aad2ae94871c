#include "ui/DataGrid.h"

namespace ui {

int TClientDataSet::rowCount(const QModelIndex&) const { return 0; }
int TClientDataSet::columnCount(const QModelIndex&) const { return 0; }
QVariant TClientDataSet::data(const QModelIndex&, int) const { return {}; }

}  // namespace ui
