#include "editors/GridTextPaste.h"

#include <algorithm>

#include "lang/LanguageTexts.h"
#include "fields/FieldCodec.h"

namespace zmp {

namespace {

bool IsBlankLine(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& c) {
    return c.find_first_not_of(' ') == std::string::npos;
  });
}

std::string TitleOf(const GridSource& source, int col) { return Tx(source.Column(col).title); }

// A line whose non-empty cells are all titles of the grid's columns.
bool IsTitleRow(const GridSource& source, const std::vector<std::string>& cells) {
  int titles = 0;
  for (const std::string& cell : cells) {
    if (cell.empty()) continue;
    bool found = false;
    for (int c = 0; c < source.ColumnCount() && !found; ++c) found = cell == TitleOf(source, c);
    if (!found) return false;
    ++titles;
  }
  return titles > 0;
}

bool IsRowNumber(const GridSource& source, const std::string& cell) {
  if (cell.empty() || cell.size() > 4 || cell.find_first_not_of("0123456789") != std::string::npos) return false;
  const int n = std::stoi(cell);
  return n >= 1 && n <= source.RowCount();
}

// Whether lines without a title row carry the grid's number column: each has
// one cell per column and starts with a row number.
bool CarriesNumberColumn(const GridSource& source, const TextTable& lines) {
  return std::all_of(lines.begin(), lines.end(), [&](const std::vector<std::string>& cells) {
    return static_cast<int>(cells.size()) == source.ColumnCount() && IsRowNumber(source, cells.front());
  });
}

// Cells of a line that go to no column: past the grid's last column, or under
// an empty title.
constexpr int kBeyond = -1;
constexpr int kUntitled = -2;

// The grid column of each title, by name: the first column of that title not
// taken by an earlier one (grids may repeat a title).
std::vector<int> ColumnsByTitle(const GridSource& source, const std::vector<std::string>& titles) {
  std::vector<bool> taken(static_cast<std::size_t>(source.ColumnCount()), false);
  std::vector<int> out;
  for (const std::string& title : titles) {
    int found = title.empty() ? kUntitled : kBeyond;
    for (int c = 0; c < source.ColumnCount() && !title.empty(); ++c) {
      if (taken[static_cast<std::size_t>(c)] || TitleOf(source, c) != title) continue;
      taken[static_cast<std::size_t>(c)] = true;
      found = c;
      break;
    }
    out.push_back(found);
  }
  return out;
}

bool ShowsNotApplicable(const GridSource& source, int row, int col) {
  return source.CellText(row, col) == kNotApplicableText;
}

// One cell as the user would type it (a list cell as the user would pick it).
CellCommit StoreCell(GridSource& source, int row, int col, const std::string& text) {
  if (source.Column(col).editor == CellEditor::List) {
    for (const GridChoice& c : source.Choices(row, col))
      if (c.text == text) return source.SetCellValue(row, col, c.value);
    return {false, 347_txt};
  }
  return source.SetCellText(row, col, text);
}

void AddNotice(TextPasteOutcome& out, TextNo t) {
  for (TextNo n : out.notices)
    if (n.n == t.n) return;
  out.notices.push_back(t);
}

}  // namespace

std::optional<TextTable> SplitTableText(std::string_view text) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') return std::nullopt;
    if (u == 0x7F) return std::nullopt;
  }
  TextTable lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> cells;
    std::size_t from = 0;
    while (true) {
      const std::size_t tab = line.find('\t', from);
      cells.emplace_back(line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    lines.push_back(std::move(cells));
    if (end == text.size()) break;
    start = end + 1;
  }
  // A final line break ends the last line; it starts no empty one.
  if (!lines.empty() && lines.back().size() == 1 && lines.back().front().empty() && text.ends_with('\n'))
    lines.pop_back();
  if (lines.empty() || std::all_of(lines.begin(), lines.end(), IsBlankLine)) return std::nullopt;
  return lines;
}

TextPasteOutcome PasteTableText(GridSource& source, int row, int column, std::string_view text) {
  auto lines = SplitTableText(text);
  if (!lines) {
    TextPasteOutcome out;
    out.table = false;
    return out;
  }
  return PasteTable(source, row, column, std::move(*lines));
}

TextPasteOutcome PasteTable(GridSource& source, int row, int column, TextTable lines) {
  TextPasteOutcome out;
  if (lines.empty() || std::all_of(lines.begin(), lines.end(), IsBlankLine)) {
    out.table = false;
    return out;
  }
  if (source.ColumnCount() < 2 || row < 0 || row >= source.RowCount()) return out;
  const bool titled = (lines.size() > 1 || lines.front().size() > 1) && IsTitleRow(source, lines.front());
  // Where each cell of a line goes: by the title row's names, else in order
  // from the first column.
  std::vector<int> columnOf;
  if (titled) {
    columnOf = ColumnsByTitle(source, lines.front());
    lines.erase(lines.begin());
  } else {
    const int first = CarriesNumberColumn(source, lines) ? 0 : std::max(column, 1);
    std::size_t widest = 0;
    for (const auto& cells : lines) widest = std::max(widest, cells.size());
    for (std::size_t i = 0; i < widest; ++i) {
      const int col = first + static_cast<int>(i);
      columnOf.push_back(col < source.ColumnCount() ? col : kBeyond);
    }
  }
  int target = row;
  for (const auto& cells : lines) {
    if (target >= source.RowCount()) {
      ++out.rowsBelow;
      continue;
    }
    bool stored = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const int col = i < columnOf.size() ? columnOf[i] : kBeyond;
      if (col == kBeyond) {
        out.cellsBeyond = out.cellsBeyond || !cells[i].empty();
        continue;
      }
      if (col == kUntitled) continue;
      if (source.Column(col).editor == CellEditor::None || cells[i] == kNotApplicableText) continue;
      if (ShowsNotApplicable(source, target, col) || cells[i] == source.CellText(target, col)) continue;
      const CellCommit r = StoreCell(source, target, col, cells[i]);
      if (!r.stored) {
        out.refusedRow = target;
        out.refusedColumn = col;
        out.refusal = r.message.n ? r.message : 752_txt;
        if (stored) ++out.rowsStored;
        return out;
      }
      if (r.message.n) AddNotice(out, r.message);
      ++out.cellsStored;
      stored = true;
    }
    if (stored) ++out.rowsStored;
    ++target;
  }
  return out;
}

std::string RefusalText(const GridSource& source, const TextPasteOutcome& outcome) {
  if (outcome.refusedRow < 0) return {};
  return FormatText(Tx(614_txt), {source.CellText(outcome.refusedRow, 0), TitleOf(source, outcome.refusedColumn),
                                   Tx(outcome.refusal)});
}

std::string PasteNotes(const TextPasteOutcome& outcome) {
  std::string out;
  auto line = [&](const std::string& s) {
    if (!out.empty()) out += '\n';
    out += s;
  };
  for (TextNo n : outcome.notices) line(Tx(n));
  if (outcome.rowsBelow > 0) line(FormatText(Tx(616_txt), {std::to_string(outcome.rowsBelow)}));
  if (outcome.cellsBeyond) line(Tx(617_txt));
  return out;
}

}  // namespace zmp
