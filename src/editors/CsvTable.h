// Comma-separated values as spreadsheets read and write them (RFC 4180): the
// one reader and writer of CSV text in the program. A table is lines of cells,
// the same shape as the tab-separated text a grid pastes.
//
// Writing: cells joined by commas, each line ended by CR LF; a cell holding a
// comma, a double quote, a CR or an LF, or beginning or ending with a blank,
// is put in double quotes, its quotes doubled.
// Reading: lines end with CR LF or LF (a last line may end without); a cell in
// double quotes may hold commas, line breaks and doubled quotes; a UTF-8 byte
// order mark at the start is skipped. A quote left open, text after a closing
// quote, a quote inside an unquoted cell and a NUL byte are faults named with
// their line.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zmp {

using CsvRows = std::vector<std::vector<std::string>>;

enum class CsvFault : std::uint8_t {
  None,
  Empty,            // no line at all
  QuoteNotClosed,   // a quoted cell runs to the end of the text
  TextAfterQuote,   // a closing quote followed by anything but a comma or a line end
  QuoteInCell,      // a double quote inside a cell that does not start with one
  NulByte,          // a NUL byte (not text)
};

struct CsvParse {
  CsvRows rows;
  CsvFault fault = CsvFault::None;
  std::size_t line = 0;  // 1-based line of the fault (of the text, not of the rows)
  bool ok() const { return fault == CsvFault::None; }
};

CsvParse ParseCsv(std::string_view text);
std::string WriteCsv(const CsvRows& rows);

}  // namespace zmp
