#include "editors/ui/GridView.h"

#include <QMenu>

#include "editors/ui/ClipboardOrder.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/GridBinding.h"

namespace zmp {

GridView::GridView(EditorDocument& doc, int gridId, QWidget* parent)
    : QWidget(parent), doc_(doc), grid_(new EditGrid(this)) {
  grid_->setObjectName(QStringLiteral("ctl%1").arg(gridId));
  BindGridToDocument(*grid_, doc_);
}

QAction* GridView::Action(int command) const { return commands_.Find(command); }

void GridView::ConnectGrid(QMenu* popup, EditorButtons* buttons) {
  popup_ = popup;
  popup_->addAction(commands_.Add(kCmdCopy, 738_txt, QKeySequence::Copy, [this] { OnCopy(); }));
  popup_->addAction(commands_.Add(kCmdPaste, 739_txt, QKeySequence::Paste, [this] { OnPasteLatest(); }));
  // Delete is also the grid's own key (rows selected: delete, otherwise empty the cell).
  popup_->addAction(commands_.Add(kCmdDelete, 740_txt, {}, [this] { OnDelete(); }));
  connect(grid_, &EditGrid::DeleteRequested, this, [this] { OnDelete(); });
  connect(grid_, &EditGrid::PopupRequested, this, [this](const QPoint& p) { popup_->popup(p); });
  connect(grid_, &EditGrid::HelpRequested, this, [buttons](const QString& t) { buttons->RequestHelp(t); });
  connect(&doc_, &EditorDocument::ImageChanged, this, [this](QObject*) { Reload(); });
}

bool GridView::GridReady() {
  if (grid_->IsEditing()) grid_->CommitCellEdit();
  return GridHasFocus();
}

bool GridView::GridHasFocus() const {
  QWidget* f = focusWidget();
  return f == grid_ || (f && grid_->isAncestorOf(f));
}

bool GridView::OnPasteText() {
  if (!GridReady()) return false;
  return grid_->PasteClipboardText();
}

bool GridView::PasteLatest(const void* clipboard, bool clipboardEmpty, const std::function<bool()>& pasteOwn) {
  if (!clipboardEmpty && OwnCopyIsNewest(clipboard)) return pasteOwn();
  return OnPasteText();
}

}  // namespace zmp
