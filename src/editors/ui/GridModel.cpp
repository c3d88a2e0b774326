#include "editors/ui/GridModel.h"

#include <QApplication>
#include <QPalette>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"

namespace zmp {

void GridModel::SetSource(GridSource* source) {
  beginResetModel();
  source_ = source;
  texts_.clear();
  if (source_) {
    texts_.resize(static_cast<std::size_t>(source_->RowCount()));
    for (int r = 0; r < source_->RowCount(); ++r) {
      auto& row = texts_[static_cast<std::size_t>(r)];
      for (auto& t : RowTexts(*source_, r)) row.push_back(QString::fromStdString(t));
    }
  }
  endResetModel();
}

void GridModel::Reload() {
  if (!source_) return;
  if (static_cast<int>(texts_.size()) != source_->RowCount() ||
      (!texts_.empty() && static_cast<int>(texts_[0].size()) != source_->ColumnCount())) {
    SetSource(source_);
    return;
  }
  for (int r = 0; r < source_->RowCount(); ++r) {
    auto& row = texts_[static_cast<std::size_t>(r)];
    const auto cells = RowTexts(*source_, r);
    for (std::size_t c = 0; c < cells.size(); ++c) row[c] = QString::fromStdString(cells[c]);
  }
  if (!texts_.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::ReloadRow(int r) {
  if (!source_ || r < 0 || r >= static_cast<int>(texts_.size())) return;
  auto& row = texts_[static_cast<std::size_t>(r)];
  const auto cells = RowTexts(*source_, r);
  for (std::size_t c = 0; c < cells.size() && c < row.size(); ++c) row[c] = QString::fromStdString(cells[c]);
  emit dataChanged(index(r, 0), index(r, columnCount() - 1), {Qt::DisplayRole});
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !source_ ? 0 : static_cast<int>(texts_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !source_ ? 0 : source_->ColumnCount();
}

QVariant GridModel::data(const QModelIndex& i, int role) const {
  if (!i.isValid() || !source_) return {};
  const auto r = static_cast<std::size_t>(i.row()), c = static_cast<std::size_t>(i.column());
  if (r >= texts_.size() || c >= texts_[r].size()) return {};
  const bool numberColumn = source_->Column(i.column()).editor == CellEditor::None;
  switch (role) {
    case Qt::DisplayRole:
      return texts_[r][c];
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(numberColumn ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::BackgroundRole:
      if (numberColumn) return QApplication::palette().brush(QPalette::Button);
      return {};
    case Qt::ForegroundRole:
      if (texts_[r][c] == QLatin1String("---")) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      return {};
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
  if (!source_ || o != Qt::Horizontal || section < 0 || section >= source_->ColumnCount()) return {};
  if (role == Qt::DisplayRole) return QTx(source_->Column(section).title);
  return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& i) const {
  if (!i.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace zmp
