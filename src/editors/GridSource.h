// What a grid of cells shows and how a typed cell is stored, independent of
// the window that draws it. An editor with a grid is a GridSource (its column
// table and its setters); the Qt grid (EditGrid) draws and edits any source.
// Standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/TextNo.h"
#include "fields/FieldTypes.h"

namespace zmp {

// The overlay editor a cell is edited with.
enum class CellEditor : std::uint8_t {
  None,    // not editable (the number column)
  Text,    // FilterEdit with the column's input mode
  Tone,    // ToneComboBox
  List,    // drop-down list of the column's choices
  Number,  // NumberComboBox
};

struct GridColumn {
  int field;          // the editor's field number (0 for the number column)
  TextNo title;       // language text of the title row
  int width;          // title table width value (characters)
  int helpContext;    // 0 = none
  CellEditor editor;
  std::uint8_t filterMode;  // input mode for CellEditor::Text
  int maxLength;            // 0 = no limit
  int numberFirst = 1;      // CellEditor::Number: first and last number after "Off"
  int numberLast = 63;
};

using GridChoice = ShownChoice;

// The outcome of storing one cell.
struct CellCommit {
  bool stored = false;   // the text was taken (bytes may or may not differ)
  TextNo message{0};     // a message to show, 0 for none
};

class GridSource {
 public:
  virtual ~GridSource() = default;

  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  virtual const GridColumn& Column(int col) const = 0;
  virtual std::string CellText(int row, int col) const = 0;
  // False for cells that do not apply (shown as "---") and the number column.
  virtual bool IsEditable(int row, int col) const = 0;
  // Choices of a CellEditor::List cell, in list order.
  virtual std::vector<GridChoice> Choices(int /*row*/, int /*col*/) const { return {}; }
  // Stores typed text into the image. Called only with text that differs from
  // what the cell shows.
  virtual CellCommit SetCellText(int row, int col, std::string_view text) = 0;
  // Stores the choice of a CellEditor::List cell by its stored value.
  virtual CellCommit SetCellValue(int row, int col, long value) {
    for (const auto& c : Choices(row, col))
      if (c.value == value) return SetCellText(row, col, c.text);
    return {};
  }
  // Enter after a commit moves down one row instead of one cell to the right.
  virtual bool EnterMovesDown(int /*row*/, int /*col*/) const { return false; }
  // Where the guide explains a column ("page.html#anchor"); empty: the
  // window's own help. By default the column's help context.
  virtual std::string HelpTarget(int col) const;
  // The list entry that empties a List cell (Delete): "Off" or "None" when
  // the cell's list offers it.
  virtual std::optional<long> EmptyChoice(int row, int col) const;
};

// The shown texts of one row, column by column.
std::vector<std::string> RowTexts(const GridSource& source, int row);

// Text of a row range for the clipboard: with title, the column titles joined
// by tabs and a newline; then each row's cells joined by tabs, every row but
// the last followed by a newline.
std::string ClipText(const std::vector<std::string>& titles,
                     const std::vector<std::vector<std::string>>& rows, bool withTitle);
// The same for rows first..last (0-based, inclusive) of a source, titles from
// the language texts of its columns.
std::string GridClipText(const GridSource& source, int firstRow, int lastRow, bool withTitle);

}  // namespace zmp
