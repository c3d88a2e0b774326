#include "editors/ui/GridBinding.h"

#include "ui/Messages.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorDocument.h"

namespace zmp {

void BindGridToDocument(EditGrid& grid, EditorDocument& doc) {
  EditGrid* g = &grid;
  grid.SetCommitHandler([g, &doc](int row, int col, const std::string& text) {
    CellCommit result;
    GridSource* source = g->Source();
    if (!source) return result;
    doc.Commit(QTx(source->Column(col).title), [&] { result = source->SetCellText(row, col, text); });
    return result;
  });
  grid.SetValueCommitHandler([g, &doc](int row, int col, long value) {
    CellCommit result;
    GridSource* source = g->Source();
    if (!source) return result;
    doc.Commit(QTx(source->Column(col).title), [&] { result = source->SetCellValue(row, col, value); });
    return result;
  });
  grid.SetStepHandler(
      [&doc](const QString& label, const std::function<void()>& change) { return doc.Commit(label, change); });
}

}  // namespace zmp
