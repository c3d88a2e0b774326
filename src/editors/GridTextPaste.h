// Tab-separated text pasted into a grid: what "to Clip" and "to Clip(w/Title)"
// put on the clipboard, or rows copied from a spreadsheet. The text fills the
// grid from a cell, row by row and cell by cell, each cell through the same
// store as a typed one (its limits, warnings and refusals).
//
// How the text lines up with the grid:
//  - a first line whose cells are all column titles of the grid is a title
//    row: each cell below a title goes to the grid's column of that name,
//    wherever the paste starts, and the columns the text does not name keep
//    what they hold (a cell under an empty title is skipped);
//  - without a title row the text carries the grid's number column when
//    every line has exactly one cell per grid column and starts with a row
//    number; its cells then go to the grid's columns in order (the number
//    column is skipped), otherwise the first cell of each line goes to the
//    starting column (the first data column when the start is the number
//    column) and the others to the columns after it;
//  - cells that read "---", cells of the grid that do not apply to their row
//    and cells that equal what the grid shows are skipped; cells past the
//    last column and lines past the last row are dropped;
//  - the first refused cell stops the paste there; what was stored before it
//    stays.
// Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/GridSource.h"

namespace zmp {

using TextTable = std::vector<std::vector<std::string>>;

// The lines and cells of the text ("\n" or "\r\n" between lines, a tab
// between cells; a final line break ends the last line). Nothing when the
// text is no table: empty, only blanks, or holding control characters.
std::optional<TextTable> SplitTableText(std::string_view text);

struct TextPasteOutcome {
  bool table = true;        // false: the text is no table, nothing was pasted
  int cellsStored = 0;
  int rowsStored = 0;       // grid rows that took at least one cell
  // The cell that was refused, and why; row < 0 when none was.
  int refusedRow = -1;
  int refusedColumn = -1;
  TextNo refusal{0};
  std::vector<TextNo> notices;  // warnings of stored cells, each once
  int rowsBelow = 0;            // lines of the text past the last row
  bool cellsBeyond = false;     // cells past the last column
};

// Pastes text into source from cell (row, column). The caller runs it as one
// undoable step.
TextPasteOutcome PasteTableText(GridSource& source, int row, int column, std::string_view text);
// The same with the text already split into lines and cells (a CSV file).
TextPasteOutcome PasteTable(GridSource& source, int row, int column, TextTable lines);

// The refusal as the user reads it: "Row 5, RX Freq.: <the cell's message>".
std::string RefusalText(const GridSource& source, const TextPasteOutcome& outcome);
// Everything else the paste has to say (warnings, dropped rows and cells),
// one line each; empty when nothing.
std::string PasteNotes(const TextPasteOutcome& outcome);

}  // namespace zmp
