#include "editors/ChannelGridSource.h"

#include <algorithm>
#include <vector>

#include "editors/ChannelFields.h"
#include "editors/FieldGridSource.h"


namespace zmp {

namespace {

using namespace chfield;

// The grid's columns: the channel number, then one column per declared field
// of the layout's table.
std::vector<GridColumn> ColumnsOf(const FieldTable& table) {
  std::vector<GridColumn> out{{kChannel, 754_txt, 30, 0, CellEditor::None, 0, 0}};
  for (std::size_t i = 0; i < table.fields.size(); ++i) {
    const FieldDecl& d = table.fields[i];
    const GridColumnInfo& info = table.columns[i];
    GridColumn c{ChannelFieldNumber(d), info.title, info.width, d.helpContext, CellEditorOf(d), d.filter,
                 d.maxLength};
    if (c.editor == CellEditor::Number) {
      c.numberFirst = static_cast<int>(std::max(1L, d.range.minimum));
      c.numberLast = static_cast<int>(d.range.maximum);
    }
    out.push_back(c);
  }
  return out;
}

// The store says only that text was refused; the field says why.
TextNo RefusalOf(StoreStatus s, int field, std::string_view text) {
  if (s != StoreStatus::BadText || field < 0 || field >= kCount) return MessageOf(s);
  const FieldDecl& d = ChannelFieldTable[static_cast<std::size_t>(field)];
  if (d.storage == Storage::Text)
    return d.maxLength > 0 && text.size() > static_cast<std::size_t>(d.maxLength) ? 354_txt : FixedTextRefusal(d);
  if (d.storage == Storage::Tone) return 348_txt;
  if (d.kind == ControlKind::DropList || d.kind == ControlKind::CheckBox) return 347_txt;
  return 346_txt;
}

}  // namespace

std::span<const GridColumn> ChInfoColumns(bool fullLayout) {
  static const std::vector<GridColumn> full = ColumnsOf(ChannelGridTable(true));
  static const std::vector<GridColumn> shortLayout = ColumnsOf(ChannelGridTable(false));
  return fullLayout ? full : shortLayout;
}

ChannelGridSource::ChannelGridSource(ImageStore& image)
    : ChannelGridSource(image, !ChannelStore(image).OptionBoardFitted()) {}

ChannelGridSource::ChannelGridSource(ImageStore& image, bool fullLayout)
    : store_(image), full_(fullLayout), columns_(ChInfoColumns(fullLayout)) {}

std::string ChannelGridSource::CellText(int row, int col) const {
  const int field = Column(col).field;
  if (field != kChannel && store_.Exists(row) && !store_.IsApplicable(row, field)) return std::string(kNotApplicableText);
  return store_.GetFieldText(row, field).text;
}

bool ChannelGridSource::IsEditable(int row, int col) const {
  const GridColumn& c = Column(col);
  if (c.editor == CellEditor::None) return false;
  // Only the frequencies can bring a channel into being.
  if (!store_.Exists(row)) return c.field == kRxFrequency || c.field == kTxFrequency;
  return store_.IsApplicable(row, c.field);
}

std::vector<GridChoice> ChannelGridSource::Choices(int row, int col) const {
  return store_.OptionList(Column(col).field, row);
}

CellCommit ChannelGridSource::SetCellText(int row, int col, std::string_view text) {
  CellCommit out;
  if (!IsEditable(row, col)) return out;
  const StoreStatus s = store_.SetFieldText(row, Column(col).field, text);
  out.stored = s == StoreStatus::Ok;
  out.message = RefusalOf(s, Column(col).field, text);
  return out;
}

CellCommit ChannelGridSource::SetCellValue(int row, int col, long value) {
  CellCommit out;
  if (!IsEditable(row, col)) return out;
  const StoreStatus s = store_.SetFieldValue(row, Column(col).field, value);
  out.stored = s == StoreStatus::Ok;
  out.message = MessageOf(s);
  return out;
}

bool ChannelGridSource::EnterMovesDown(int row, int col) const {
  return Column(col).field == kRxFrequency && !store_.Exists(row);
}

std::string ChannelPlanText(ImageStore& image) {
  ChannelGridSource source(image);
  return GridClipText(source, 0, source.RowCount() - 1, true);
}

}  // namespace zmp
