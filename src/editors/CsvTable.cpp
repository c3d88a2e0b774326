#include "editors/CsvTable.h"

namespace zmp {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool NeedsQuotes(const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") != std::string::npos) return true;
  return !cell.empty() && (cell.front() == ' ' || cell.back() == ' ');
}

void AppendCell(std::string& out, const std::string& cell) {
  if (!NeedsQuotes(cell)) {
    out += cell;
    return;
  }
  out += '"';
  for (char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// A line ends at LF, at CR LF, or at the end of the text (a CR alone at the
// very end too).
bool AtLineEnd(std::string_view text, std::size_t i) {
  return i >= text.size() || text[i] == '\n' ||
         (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n'));
}

}  // namespace

std::string WriteCsv(const CsvRows& rows) {
  std::string out;
  for (const auto& line : rows) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (i) out += ',';
      AppendCell(out, line[i]);
    }
    out += "\r\n";
  }
  return out;
}

CsvParse ParseCsv(std::string_view text) {
  CsvParse out;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (text.empty()) {
    out.fault = CsvFault::Empty;
    out.line = 1;
    return out;
  }
  auto fail = [&out](CsvFault f, std::size_t line) {
    out.rows.clear();
    out.fault = f;
    out.line = line;
    return out;
  };
  std::size_t line = 1;
  std::vector<std::string> cells;
  std::string cell;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (true) {
    // At the start of a cell.
    if (i < n && text[i] == '"') {
      const std::size_t opened = line;
      ++i;
      while (true) {
        if (i >= n) return fail(CsvFault::QuoteNotClosed, opened);
        const char c = text[i++];
        if (c == '\0') return fail(CsvFault::NulByte, line);
        if (c == '"') {
          if (i < n && text[i] == '"') {
            cell += '"';
            ++i;
            continue;
          }
          break;
        }
        if (c == '\n') ++line;
        cell += c;
      }
      if (i < n && text[i] != ',' && !AtLineEnd(text, i)) return fail(CsvFault::TextAfterQuote, line);
    } else {
      while (!AtLineEnd(text, i) && text[i] != ',') {
        if (text[i] == '"') return fail(CsvFault::QuoteInCell, line);
        if (text[i] == '\0') return fail(CsvFault::NulByte, line);
        cell += text[i++];
      }
    }
    cells.push_back(std::move(cell));
    cell.clear();
    if (i < n && text[i] == ',') {
      ++i;
      continue;
    }
    // The end of a line (or of the text).
    out.rows.push_back(std::move(cells));
    cells.clear();
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') {
      ++i;
      ++line;
    }
    if (i >= n) break;
  }
  return out;
}

}  // namespace zmp
