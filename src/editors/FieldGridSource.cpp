#include "editors/FieldGridSource.h"

#include <algorithm>

#include "lang/LanguageTexts.h"
#include "editors/HelpLinks.h"

namespace zmp {

CellEditor CellEditorOf(const FieldDecl& d) {
  switch (d.kind) {
    case ControlKind::DropList:
    case ControlKind::CheckBox: return CellEditor::List;
    case ControlKind::EditCombo: return d.storage == Storage::Tone ? CellEditor::Tone : CellEditor::Number;
    case ControlKind::Edit:
    case ControlKind::EditSpin: return CellEditor::Text;
    default: return CellEditor::None;
  }
}

GridColumnInfo ColumnInfoOf(const FieldTable& table, std::size_t field) {
  if (field < table.columns.size()) return table.columns[field];
  return GridColumnInfo{table.fields[field].label, 60};
}

bool HasRowTitles(const FieldTable& table) { return table.rowTitle != nullptr || !table.rowTitles.empty(); }

std::string RowTitleOf(const FieldTable& table, const ImageStore& image, int row) {
  if (table.rowTitle) return table.rowTitle(image, row);
  const auto r = static_cast<std::size_t>(row);
  return r < table.rowTitles.size() ? Tx(table.rowTitles[r]) : std::to_string(row + 1);
}

std::string FieldCellText(const FieldRef& f, const ImageStore& image) {
  const FieldView v = ShowField(f, image);
  // A check box shows On or Off.
  if (f.decl->kind == ControlKind::CheckBox && v.exists && v.applicable) return Tx(v.checked ? 727_txt : 728_txt);
  return v.text;
}

FieldGridSource::FieldGridSource(ImageStore& image, const FieldTable& table) : image_(image), table_(table) {
  // Rows with titles (key names) have a title column without heading.
  if (HasRowTitles(table)) columns_.push_back({0, TextNo{0}, 70, 0, CellEditor::None, 0, 0});
  else columns_.push_back({0, table.numberTitle, 30, 0, CellEditor::None, 0, 0});
  for (std::size_t i = 0; i < table.fields.size(); ++i) {
    const FieldDecl& d = table.fields[i];
    const GridColumnInfo info = ColumnInfoOf(table, i);
    GridColumn c{static_cast<int>(i), info.title, info.width, d.helpContext, CellEditorOf(d), d.filter,
                 d.maxLength};
    if (c.editor == CellEditor::Number) {
      c.numberFirst = static_cast<int>(std::max(1L, d.range.minimum));
      c.numberLast = static_cast<int>(d.range.maximum);
    }
    columns_.push_back(c);
  }
}

int FieldGridSource::RowCount() const {
  if (table_.listMissingRows) return table_.rows;
  int rows = 0;
  while (rows < table_.rows && RowStart(table_, image_, rows)) ++rows;
  return rows;
}

FieldRef FieldGridSource::Ref(int row, int col) const {
  return FieldRef{&table_, &table_.fields[static_cast<std::size_t>(col - 1)], row};
}

std::string FieldGridSource::CellText(int row, int col) const {
  if (col == 0) return RowTitleOf(table_, image_, row);
  return FieldCellText(Ref(row, col), image_);
}

bool FieldGridSource::IsEditable(int row, int col) const {
  if (col <= 0 || Column(col).editor == CellEditor::None) return false;
  const FieldView v = ShowField(Ref(row, col), image_);
  const FieldDecl& d = *Ref(row, col).decl;
  if (v.exists && FieldDisabledReason(Ref(row, col), image_).n) return false;
  // A Custom field may bring its row into being (a frequency).
  return v.applicable && (v.exists || (d.storage == Storage::Custom && d.hooks && d.hooks->commitText));
}

std::vector<GridChoice> FieldGridSource::Choices(int row, int col) const {
  if (col <= 0) return {};
  if (Ref(row, col).decl->kind == ControlKind::CheckBox) return {{0, Tx(728_txt)}, {1, Tx(727_txt)}};
  return FieldChoices(Ref(row, col), image_);
}

CellCommit FieldGridSource::SetCellText(int row, int col, std::string_view text) {
  CellCommit out;
  if (!IsEditable(row, col)) return out;
  // A cell editor lets only what the field takes be typed; a pasted text is
  // held to the same rule (a pasted word would otherwise read as no frequency
  // and empty a test channel).
  if (UntypedCharacter(Ref(row, col), image_, text)) return {false, 351_txt};
  const CommitResult r = CommitFieldText(Ref(row, col), image_, text);
  out.stored = r.ok();
  out.message = r.message;
  return out;
}

CellCommit FieldGridSource::SetCellValue(int row, int col, long value) {
  CellCommit out;
  if (!IsEditable(row, col)) return out;
  const FieldRef ref = Ref(row, col);
  const CommitResult r = ref.decl->kind == ControlKind::CheckBox ? CommitFieldCheck(ref, image_, value != 0)
                                                                 : CommitFieldChoice(ref, image_, value);
  out.stored = r.ok();
  out.message = r.message;
  return out;
}

std::string FieldGridSource::HelpTarget(int col) const {
  return col > 0 ? FieldHelpTarget(*Ref(0, col).decl) : std::string();
}

}  // namespace zmp
