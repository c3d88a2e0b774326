#include "lang/LanguageTexts.h"
#include "editors/GridSource.h"
#include "editors/HelpLinks.h"

namespace zmp {

std::string GridSource::HelpTarget(int col) const { return AnchoredTargetOf(Column(col).helpContext); }

std::optional<long> GridSource::EmptyChoice(int row, int col) const {
  for (const GridChoice& c : Choices(row, col))
    if (c.text == Tx(719_txt) || c.text == Tx(1256_txt)) return c.value;
  return std::nullopt;
}

namespace {
void AppendJoined(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i) out.push_back('\t');
    out += cells[i];
  }
}
}  // namespace

std::string ClipText(const std::vector<std::string>& titles,
                     const std::vector<std::vector<std::string>>& rows, bool withTitle) {
  std::string out;
  if (withTitle) {
    AppendJoined(out, titles);
    out.push_back('\n');
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r) out.push_back('\n');
    AppendJoined(out, rows[r]);
  }
  return out;
}

std::vector<std::string> RowTexts(const GridSource& source, int row) {
  std::vector<std::string> cells;
  cells.reserve(static_cast<std::size_t>(source.ColumnCount()));
  for (int c = 0; c < source.ColumnCount(); ++c) cells.push_back(source.CellText(row, c));
  return cells;
}

std::string GridClipText(const GridSource& source, int firstRow, int lastRow, bool withTitle) {
  std::vector<std::string> titles;
  for (int c = 0; c < source.ColumnCount(); ++c) titles.push_back(Tx(source.Column(c).title));
  std::vector<std::vector<std::string>> rows;
  if (firstRow < 0) firstRow = 0;
  if (lastRow >= source.RowCount()) lastRow = source.RowCount() - 1;
  for (int r = firstRow; r <= lastRow; ++r) rows.push_back(RowTexts(source, r));
  return ClipText(titles, rows, withTitle);
}

}  // namespace zmp
