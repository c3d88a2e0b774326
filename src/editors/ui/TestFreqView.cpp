#include "editors/ui/TestFreqView.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/LanguageTexts.h"
#include "editors/HelpLinks.h"
#include "ui/Messages.h"
#include "editors/ui/ClipboardOrder.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorButtons.h"

namespace zmp {

namespace {
QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }
}  // namespace

CTestFreqView::CTestFreqView(EditorDocument& doc, QWidget* parent)
    : GridView(doc, kGridId, parent),
      source_(std::make_unique<FieldGridSource>(doc.Image(), TestFrequencyTable())) {
  setObjectName(QStringLiteral("CTestFreqView"));
  setWindowTitle(QTx(710_txt));
  grid_->SetSource(source_.get());
  chPaste_ = new QPushButton(QTx(42_txt), this);
  chPaste_->setObjectName(CtlName(kChPasteId));
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::TestFreq, kHelpContext,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->insertWidget(0, chPaste_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  auto* popup = new QMenu(QTx(618_txt), this);
  popup->setObjectName(QStringLiteral("Grid Data Copy"));
  ConnectGrid(popup, buttons);

  grid_->installEventFilter(this);
  grid_->viewport()->installEventFilter(this);
  chPaste_->installEventFilter(this);
  connect(chPaste_, &QPushButton::clicked, this, [this] { OnChPaste(); });
  grid_->setMinimumWidth(grid_->sizeHint().width());
  UpdateChPaste();
}

CTestFreqView::~CTestFreqView() { grid_->SetSource(nullptr); }

void CTestFreqView::Reload() {
  grid_->Reload();
  UpdateChPaste();
}

void CTestFreqView::UpdateChPaste() { chPaste_->setEnabled(ChannelsToPaste(doc_.Image())); }

int CTestFreqView::EditColumn(int row, int col) const {
  return col == 2 && !HasTestFrequency(doc_.Image(), row, 0) ? 1 : col;
}

void CTestFreqView::ShowBandWarnings(const TestPasteResult& r) {
  QStringList lines;
  if (r.outOfBand[0]) lines << QTx(656_txt);
  if (r.outOfBand[1]) lines << QTx(657_txt);
  if (!lines.isEmpty()) Notice(this, lines.join('\n'));
}

bool CTestFreqView::OnCopy() {
  const bool ready = GridReady();
  const auto rows = grid_->SelectedRows();
  if (!ready || !rows) return false;
  TheTestFreqClipboard().Copy(doc_.Image(), rows->first, rows->second);
  NoteOwnCopy(&TheTestFreqClipboard());
  return true;
}

bool CTestFreqView::OnPaste() {
  if (!GridReady() || TheTestFreqClipboard().Empty()) return false;
  const auto rows = grid_->SelectedRows();
  const int first = rows ? rows->first : grid_->CurrentRow();
  TestPasteResult result;
  doc_.Commit(QTx(739_txt), [&] { result = TheTestFreqClipboard().Paste(doc_.Image(), first); });
  Reload();
  ShowBandWarnings(result);
  return result.written > 0;
}

bool CTestFreqView::OnDelete() {
  const bool ready = GridReady();
  const auto rows = grid_->SelectedRows();
  if (!ready || !rows) return false;
  const bool changed =
      doc_.Commit(QTx(740_txt), [&] { DeleteTestChannels(doc_.Image(), rows->first, rows->second); });
  Reload();
  return changed;
}

bool CTestFreqView::OnChPaste() {
  if (grid_->IsEditing()) grid_->CommitCellEdit();
  // Channels may have been deleted since the button was last enabled.
  UpdateChPaste();
  if (!chPaste_->isEnabled()) return false;
  bool pasted = false;
  doc_.Commit(QTx(42_txt), [&] { pasted = PasteChannelsAsTestChannels(doc_.Image()); });
  Reload();
  return pasted;
}

bool CTestFreqView::OnPasteLatest() {
  return PasteLatest(&TheTestFreqClipboard(), TheTestFreqClipboard().Empty(), [this] { return OnPaste(); });
}

bool CTestFreqView::GridKey(QKeyEvent* k) {
  const auto mods = k->modifiers();
  const int row = grid_->CurrentRow(), col = grid_->CurrentColumn();
  switch (k->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      if (grid_->SelectedRows()) OnDelete();
      else if (col > 0) grid_->BeginEmptyCellEdit(row, EditColumn(row, col));
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // With frequency 1 empty, Enter on frequency 2 does nothing.
      if (col > 0 && !(mods & (Qt::ShiftModifier | Qt::ControlModifier)) && EditColumn(row, col) == col)
        grid_->BeginCellEdit(row, col);
      return true;
    default:
      break;
  }
  const QString t = k->text();
  if (col == 2 && !(mods & (Qt::ControlModifier | Qt::AltModifier)) && t.size() == 1 && t[0].isPrint())
    grid_->SetCurrentCell(row, EditColumn(row, col));  // the grid opens the edit there
  return false;
}

bool CTestFreqView::eventFilter(QObject* watched, QEvent* e) {
  if (watched == grid_ && e->type() == QEvent::KeyPress && !grid_->IsEditing())
    return GridKey(static_cast<QKeyEvent*>(e));
  if (watched == grid_->viewport() && e->type() == QEvent::MouseButtonDblClick) {
    const QModelIndex i = grid_->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint());
    if (i.isValid() && i.column() > 0) {
      grid_->BeginCellEdit(i.row(), EditColumn(i.row(), i.column()));
      return true;
    }
  }
  if (watched == chPaste_ && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_F1) {
      emit HelpRequested(QString::fromStdString(AnchoredTargetOf(kChPasteHelpContext)));
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      chPaste_->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

bool CTestFreqView::FocusField(const FieldRef& field) {
  if (!SameTable(*field.table, source_->Table()) || field.row < 0 || field.row >= source_->RowCount()) return false;
  grid_->SetCurrentCell(field.row, static_cast<int>(field.decl - field.table->fields.data()) + 1);
  grid_->setFocus(Qt::OtherFocusReason);
  return true;
}

}  // namespace zmp
