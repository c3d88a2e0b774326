// The fifteen multi tables: each a tone grid (QT/DQT codes) and a number grid
// (1-63) of fifteen rows and two columns, where column 2 follows column 1.
// Table n (1..15) lies at 0x2800 + 64(n - 1) (tones) and 0x3800 + 64(n - 1)
// (numbers): words 0-15 column 1, words 16-31 column 2 (the sixteenth row is
// not shown). Standard library only.
#pragma once

#include <string>

#include "fields/FieldTypes.h"

namespace zmp {

inline constexpr int kMultiTableCount = 15;
inline constexpr int kMultiTableRows = 15;
inline constexpr std::size_t kMultiToneStart = 0x2800;
inline constexpr std::size_t kMultiNumberStart = 0x3800;
inline constexpr std::size_t kMultiTableSize = 64;     // bytes per table and grid
inline constexpr std::size_t kMultiColumn2 = 0x20;     // column 2 within a table

// The table number as typed or spun, limited to 1..15 before anything is
// computed from it.
int LimitMultiTableNumber(long number);

// The grids of table number n (limited to 1..15).
const FieldTable& MultiToneTable(int number);
const FieldTable& MultiNumberTable(int number);

// The printout's heading of table n: "Multi Table 3".
std::string MultiTableHeading(int number);

const EditorModule& MultiTableModule();

}  // namespace zmp
