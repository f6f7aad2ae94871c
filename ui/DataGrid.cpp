#include "ui/DataGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "store/GbkChars.h"
#include "ui/FlatScrollBars.h"
#include "ui/Gbk.h"

namespace ui {

std::string_view WholeCharacters(std::string_view value) {
  for (std::size_t i = 0; i < value.size(); i += gbk::CharLen(value, i)) {
    if (i + 1 == value.size() && gbk::IsLeadByte(static_cast<unsigned char>(value[i]))) {
      return value.substr(0, i);
    }
  }
  return value;
}

void TClientDataSet::Rebuild(std::vector<TFieldDef> fields,
                             std::vector<std::vector<std::string>> rows) {
  std::vector<std::string> values;
  values.reserve(rows.size() * fields.size());
  for (auto& row : rows) {
    if (row.size() != fields.size()) throw std::invalid_argument("row does not match the fields");
    for (auto& value : row) values.push_back(std::move(value));
  }
  RebuildFlat(std::move(fields), std::move(values));
}

void TClientDataSet::RebuildFlat(std::vector<TFieldDef> fields, std::vector<std::string> values) {
  if (fields.empty() ? !values.empty() : values.size() % fields.size() != 0) {
    throw std::invalid_argument("values do not fill whole rows");
  }
  // Cut in place: ten thousand rows cost no allocation per row.
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t width = fields[i % fields.size()].size;
    if (values[i].size() > width) values[i].resize(width);
  }
  const std::size_t records = fields.empty() ? 0 : values.size() / fields.size();
  beginResetModel();
  fields_ = std::move(fields);
  values_ = std::move(values);
  recordCount_ = records;
  recNo_ = -1;
  endResetModel();
  First();
}

const std::string& TClientDataSet::Value(int row, int field) const {
  if (row < 0 || row >= RecordCount() || field < 0 || field >= FieldCount()) {
    throw std::out_of_range("no such row or field");
  }
  return values_[static_cast<std::size_t>(row) * fields_.size() + static_cast<std::size_t>(field)];
}

void TClientDataSet::First() { MoveTo(0); }

void TClientDataSet::MoveTo(int row) {
  const int target = recordCount_ == 0 ? -1 : std::clamp(row, 0, RecordCount() - 1);
  if (target == recNo_) return;
  recNo_ = target;
  emit currentChanged(recNo_);
}

int TClientDataSet::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RecordCount();
}

int TClientDataSet::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : FieldCount();
}

QVariant TClientDataSet::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return FromGbk(WholeCharacters(Value(index.row(), index.column())));
}

QVariant TClientDataSet::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= FieldCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return FromGbk(Field(section).name);
}

TDBGridEh::TDBGridEh(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::StyledPanel);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(18);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setHighlightSections(false);
  setWordWrap(false);
  // Filled before the style draws it, so that a new row count repaints the scroll bar alone
  // and not the group box and window beneath it as well.
  verticalScrollBar()->setAutoFillBackground(true);
  UseFlatScrollBars(*this);
}

void TDBGridEh::setModel(QAbstractItemModel* model) {
  if (dataSet_ != nullptr) disconnect(dataSet_, nullptr, this, nullptr);
  QTableView::setModel(model);
  dataSet_ = qobject_cast<TClientDataSet*>(model);
  if (dataSet_ == nullptr) return;
  // The dataset's cursor drives the grid's current row and follows it back.
  connect(dataSet_, &TClientDataSet::currentChanged, this, [this](int row) {
    if (row < 0) return;
    if (currentIndex().row() == row) return;
    // The last column is the one always on show (the first, the id, is hidden).
    const int column =
        currentIndex().isValid() ? currentIndex().column() : dataSet_->FieldCount() - 1;
    selectionModel()->setCurrentIndex(
        dataSet_->index(row, column),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) dataSet_->MoveTo(current.row());
          });
}

}  // namespace ui
