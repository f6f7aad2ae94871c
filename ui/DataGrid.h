#pragma once

// The in-memory dataset behind the result list and the grid that shows it.

#include <QAbstractTableModel>
#include <QTableView>
#include <string>
#include <vector>

namespace ui {

class TClientDataSet : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

class TDBGridEh : public QTableView {
  Q_OBJECT
 public:
  using QTableView::QTableView;
};

}  // namespace ui
