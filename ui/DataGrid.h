#pragma once

// The in-memory dataset behind the result list and the grid that shows it.

#include <QAbstractTableModel>
#include <QTableView>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// value without a trailing lone first half of a double-byte GBK character, which a cut by
// bytes can leave behind.
std::string_view WholeCharacters(std::string_view value);

// A text field definition: name and width, both in GBK bytes.
struct TFieldDef {
  std::string name;
  std::size_t size = 0;
};

// A table of text fields held in memory, with a current row. Values are GBK bytes, cut to
// their field's width when stored.
class TClientDataSet : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Replaces fields and rows in one step; the first row becomes current. Each row holds one
  // value per field.
  void Rebuild(std::vector<TFieldDef> fields, std::vector<std::vector<std::string>> rows);
  // The same with the rows laid end to end: one value per field, row after row.
  void RebuildFlat(std::vector<TFieldDef> fields, std::vector<std::string> values);

  bool Active() const { return !fields_.empty(); }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  const TFieldDef& Field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
  int RecordCount() const { return static_cast<int>(recordCount_); }
  const std::string& Value(int row, int field) const;

  // The current row, -1 when there is none.
  int RecNo() const { return recNo_; }
  void First();
  void MoveTo(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 signals:
  void currentChanged(int row);

 private:
  std::vector<TFieldDef> fields_;
  std::vector<std::string> values_;  // row by row, one value per field
  std::size_t recordCount_ = 0;
  int recNo_ = -1;
};

// The grid: column titles, whole-row selection, no editing, no indicator column. Its current
// row and the dataset's stay the same.
class TDBGridEh : public QTableView {
  Q_OBJECT
 public:
  explicit TDBGridEh(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  TClientDataSet* DataSet() const { return dataSet_; }

 private:
  TClientDataSet* dataSet_ = nullptr;
};

}  // namespace ui
