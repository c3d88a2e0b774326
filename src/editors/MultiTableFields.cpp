#include "editors/MultiTableFields.h"

#include <algorithm>
#include <array>

#include "lang/LanguageTexts.h"
#include "editors/EditorKinds.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

namespace {

using CK = ControlKind;

constexpr PairRule kLeads{PairRole::Leader, kMultiColumn2};
constexpr PairRule kFollows{PairRole::Follower, 0};

constexpr FieldDecl kTone1{.key = "tone_1", .label = 607_txt, .kind = CK::EditCombo, .storage = Storage::Tone,
                           .offset = 0, .filter = filter::kOwnerRule, .maxLength = kToneTextMaxLength,
                           .pair = kLeads};
constexpr FieldDecl kTone2{.key = "tone_2", .label = 608_txt, .kind = CK::EditCombo, .storage = Storage::Tone,
                           .offset = kMultiColumn2, .filter = filter::kOwnerRule,
                           .maxLength = kToneTextMaxLength, .pair = kFollows};
// Numbers 1-63; 0 is none (shown Off, stored by Off or empty text), anything
// else outside 1-63 (a blank 0xFFFF) is none as well and shows empty.
constexpr FieldDecl kNumber1{.key = "number_1", .label = 609_txt, .kind = CK::EditCombo,
                             .storage = Storage::Word, .offset = 0, .range = {1, 63, 1},
                             .off = {719_txt, 1, true}, .filter = filter::kDigits, .maxLength = 2,
                             .pair = kLeads};
constexpr FieldDecl kNumber2{.key = "number_2", .label = 610_txt, .kind = CK::EditCombo,
                             .storage = Storage::Word, .offset = kMultiColumn2, .range = {1, 63, 1},
                             .off = {719_txt, 1, true}, .filter = filter::kDigits, .maxLength = 2,
                             .pair = kFollows};

constexpr std::array<FieldDecl, 2> kToneFields{kTone1, kTone2};
constexpr std::array<FieldDecl, 2> kNumberFields{kNumber1, kNumber2};
constexpr std::array<GridColumnInfo, 2> kToneColumns{{{607_txt, 80}, {608_txt, 80}}};
constexpr std::array<GridColumnInfo, 2> kNumberColumns{{{609_txt, 80}, {610_txt, 80}}};

// Both grids of a table share its key, so that a table reads as one in the
// command-line keys ("multi_table[5].table_3.tone_2") and the export.
constexpr std::array<std::string_view, kMultiTableCount> kTableKeys{
    "table_1", "table_2",  "table_3",  "table_4",  "table_5",  "table_6",  "table_7", "table_8",
    "table_9", "table_10", "table_11", "table_12", "table_13", "table_14", "table_15"};

FieldTable GridOf(int index, std::size_t start, std::span<const FieldDecl> fields,
                  std::span<const GridColumnInfo> columns) {
  return FieldTable{.key = kTableKeys[static_cast<std::size_t>(index)],
                    .title = 708_txt,
                    .kind = TableKind::Grid,
                    .rows = kMultiTableRows,
                    .base = {.start = start + kMultiTableSize * static_cast<std::size_t>(index), .stride = 2},
                    .fields = fields,
                    .columns = columns,
                    .numberTitle = 716_txt};
}

// The tone grid and the number grid of every table, in table order.
std::vector<FieldTable> MakeTables() {
  std::vector<FieldTable> t;
  for (int i = 0; i < kMultiTableCount; ++i) {
    t.push_back(GridOf(i, kMultiToneStart, kToneFields, kToneColumns));
    t.push_back(GridOf(i, kMultiNumberStart, kNumberFields, kNumberColumns));
  }
  return t;
}

const std::vector<FieldTable>& Tables() { return MultiTableModule().tables; }

}  // namespace

int LimitMultiTableNumber(long number) {
  return static_cast<int>(std::clamp(number, 1L, static_cast<long>(kMultiTableCount)));
}

const FieldTable& MultiToneTable(int number) {
  return Tables()[2 * static_cast<std::size_t>(LimitMultiTableNumber(number) - 1)];
}

const FieldTable& MultiNumberTable(int number) {
  return Tables()[2 * static_cast<std::size_t>(LimitMultiTableNumber(number) - 1) + 1];
}

std::string MultiTableHeading(int number) {
  return FormatText(Tx(611_txt), {std::to_string(LimitMultiTableNumber(number))});
}

const EditorModule& MultiTableModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::Multi),
      .key = "multi_table",
      .title = 708_txt,
      .tables = MakeTables(),
      // The sixteenth row of each table is not shown but belongs to it.
      .owns = {{kMultiToneStart, kMultiTableSize * kMultiTableCount},
               {kMultiNumberStart, kMultiTableSize * kMultiTableCount}},
  };
  return module;
}

}  // namespace zmp
