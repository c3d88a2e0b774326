// A 30-channel plan as a technician keeps it in a spreadsheet (one line per
// channel: RX, TX, type, TX mode, QT/DQT decode and encode, RAN decode and
// encode, name; "---" where a column does not apply), and the same plan
// typed cell by cell into a channel grid the way the grid stores a typed
// cell.
#pragma once

#include <string>
#include <vector>

#include "editors/ChannelGridSource.h"

namespace zmp::testing {

inline std::vector<std::vector<std::string>> ChannelPlanRows() {
  static const char* kTypes[] = {"Analog", "Digital", "Mixed"};
  static const char* kTones[] = {"88.5", "D023N", "Off", "254.1", "D754I"};
  std::vector<std::vector<std::string>> rows;
  for (int ch = 0; ch < 30; ++ch) {
    const std::string type = kTypes[ch % 3];
    const bool tones = type != "Digital", rans = type != "Analog";
    char rx[16], tx[16];
    std::snprintf(rx, sizeof rx, "%.5f", 146.1 + 0.0125 * ch);
    std::snprintf(tx, sizeof tx, "%.5f", 150.2 + 0.025 * ch);
    rows.push_back({rx, ch % 4 == 3 ? "" : tx, type, ch % 2 ? "Digital" : "Analog",
                    tones ? kTones[ch % 5] : "---", tones ? kTones[(ch + 2) % 5] : "---",
                    rans ? std::to_string(ch + 1) : "---", rans ? std::to_string(63 - ch) : "---",
                    "C" + std::to_string(ch % 10)});
  }
  return rows;
}

// The plan (or rows of it changed) as tab-separated lines, each ending in a
// line break as a spreadsheet copies them.
inline std::string ChannelPlanSpreadsheet(const std::vector<std::vector<std::string>>& rows = ChannelPlanRows()) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) text += (i ? "\t" : "") + row[i];
    text += "\r\n";
  }
  return text;
}

// Each cell as the grid stores a typed one: only text that differs from what
// the cell shows; list cells by the picked entry's value.
inline void TypeChannelPlan(ChannelGridSource& grid) {
  const auto rows = ChannelPlanRows();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 1; c < grid.ColumnCount(); ++c) {
      const std::string& text = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)];
      if (text == "---" || text == grid.CellText(r, c) || !grid.IsEditable(r, c)) continue;
      if (grid.Column(c).editor == CellEditor::List) {
        for (const auto& choice : grid.Choices(r, c))
          if (choice.text == text) grid.SetCellValue(r, c, choice.value);
      } else {
        grid.SetCellText(r, c, text);
      }
    }
  }
}

}  // namespace zmp::testing
