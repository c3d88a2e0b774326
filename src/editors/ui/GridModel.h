// The cell texts of a GridSource as a Qt table model, read once per reload,
// for the grid of the editors (EditGrid).
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "editors/GridSource.h"

namespace zmp {

// The cell texts of a source, read once per reload.
class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void SetSource(GridSource* source);
  GridSource* Source() const { return source_; }
  void Reload();
  void ReloadRow(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  GridSource* source_ = nullptr;
  std::vector<std::vector<QString>> texts_;
};

}  // namespace zmp
