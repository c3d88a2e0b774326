// A grid table of field declarations as a GridSource: column 0 holds the row
// number as the user counts it, every further column one declared field of
// the table. Every cell is shown, stored, picked and spun by the field codec.
// Standard library only.
#pragma once

#include <vector>

#include "editors/GridSource.h"
#include "fields/FieldCodec.h"

namespace zmp {

class FieldGridSource : public GridSource {
 public:
  FieldGridSource(ImageStore& image, const FieldTable& table);

  const FieldTable& Table() const { return table_; }
  FieldRef Ref(int row, int col) const;

  // Every row of a table that lists missing rows; otherwise the rows that
  // exist (a grid whose rows come and go with the settings).
  int RowCount() const override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const GridColumn& Column(int col) const override { return columns_[static_cast<std::size_t>(col)]; }
  std::string CellText(int row, int col) const override;
  bool IsEditable(int row, int col) const override;
  std::vector<GridChoice> Choices(int row, int col) const override;
  CellCommit SetCellText(int row, int col, std::string_view text) override;
  CellCommit SetCellValue(int row, int col, long value) override;
  // The field's own entry in the guide.
  std::string HelpTarget(int col) const override;

 private:
  ImageStore& image_;
  const FieldTable& table_;
  std::vector<GridColumn> columns_;
};

// The overlay editor a field is edited with in a grid.
CellEditor CellEditorOf(const FieldDecl& d);

// The title and width of a grid table's column of field i (its declared
// column, else the field's label).
GridColumnInfo ColumnInfoOf(const FieldTable& table, std::size_t field);

// The title of a grid row: from the image, from the table's row titles, or
// the row number as the user counts it.
std::string RowTitleOf(const FieldTable& table, const ImageStore& image, int row);
bool HasRowTitles(const FieldTable& table);

// A field's text in a grid cell or a printed listing: what the codec shows,
// a check box as On or Off.
std::string FieldCellText(const FieldRef& f, const ImageStore& image);

}  // namespace zmp
