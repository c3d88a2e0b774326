#include "editors/ui/ChInfoView.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "editors/ui/ChEditView.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelFields.h"
#include "editors/ui/ClipboardOrder.h"
#include "editors/ChannelClipboard.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorButtons.h"

namespace zmp {

namespace {
QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }
}  // namespace

CChInfoView::CChInfoView(EditorDocument& doc, QWidget* parent)
    : GridView(doc, kGridId, parent), docAlive_(&doc) {
  setObjectName(QStringLiteral("CChInfoView"));
  channelEdit_ = new QPushButton(QTx(36_txt), this);
  channelEdit_->setObjectName(CtlName(kChannelEditId));
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::ChInfo, kChInfoHelpContext,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->insertWidget(0, channelEdit_);
  close_ = buttons->Close();
  help_ = buttons->Help();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  ConnectGrid(new QMenu(this), buttons);
  popup_->addSeparator();
  popup_->addAction(commands_.Add(kCmdToClip, 746_txt, {}, [this] { OnToClip(false); }));
  popup_->addAction(commands_.Add(kCmdToClipTitle, 747_txt, {}, [this] { OnToClip(true); }));
  commands_.Add(kCmdChannelEdit, 36_txt, QKeySequence(Qt::Key_F11), [this] { OnChannelEdit(); });

  for (QPushButton* b : {channelEdit_, close_, help_}) b->installEventFilter(this);
  connect(channelEdit_, &QPushButton::clicked, this, [this] { OnChannelEdit(); });
  connect(grid_, &EditGrid::CurrentCellChanged, this, [this](int, int) { UpdateTitle(); });
  MakeSource();
  UpdateTitle();
}

CChInfoView::~CChInfoView() {
  // The grid outlives the source by a little while the widgets close.
  grid_->SetSource(nullptr);
  // The channel edit form belongs to this view. It is closed once the closing
  // of this window is over (the main window may be going away with it; the
  // posted call then dies with the document).
  if (EditorDocument* doc = docAlive_.data())
    QTimer::singleShot(0, doc, [doc] { doc->CloseEditor(EditorKind::ChEdit); });
}

void CChInfoView::MakeSource() {
  auto next = std::make_unique<ChannelGridSource>(doc_.Image());
  const bool relayout = !source_ || source_->FullLayout() != next->FullLayout();
  if (!relayout) {
    grid_->Reload();
    return;
  }
  const int row = source_ ? grid_->CurrentRow() : 0;
  source_ = std::move(next);
  grid_->SetSource(source_.get());
  // The frame opens wide enough for every column, the number column first.
  grid_->setMinimumWidth(grid_->sizeHint().width());
  grid_->SetCurrentCell(row, 1);
  grid_->horizontalScrollBar()->setValue(0);
}

void CChInfoView::Reload() { MakeSource(); }

bool CChInfoView::FocusField(const FieldRef& field) {
  if (!field.decl || field.table->kind != TableKind::Grid || field.row < 0 || field.row >= source_->RowCount())
    return false;
  // Either layout's field, or the channel form's, by its key.
  for (int col = 1; col < source_->ColumnCount(); ++col) {
    if (source_->Ref(field.row, col).decl->key != field.decl->key) continue;
    grid_->SetCurrentCell(field.row, col);
    grid_->setFocus(Qt::OtherFocusReason);
    return true;
  }
  return false;
}

void CChInfoView::UpdateTitle() {
  const std::string title =
      FormatText("%s [ %s - %d ]", {Tx(712_txt), Tx(737_txt), std::to_string(grid_->CurrentRow() + 1)});
  setWindowTitle(QString::fromStdString(title));
}

void CChInfoView::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Reload();
  if (!indexChecked_) {
    indexChecked_ = true;
    // A damaged index is reported once; its channels stay readable.
    if (!source_->Store().CheckIndex().sound)
      QTimer::singleShot(0, this, [this] { Error(this, 748_txt); });
  }
}

bool CChInfoView::eventFilter(QObject* watched, QEvent* e) {
  // Enter on the form's buttons presses them.
  if (e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (auto* b = qobject_cast<QPushButton*>(watched); b && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      b->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void CChInfoView::ReportStatus(StoreStatus s) {
  if (s == StoreStatus::Ok) return;
  if (s == StoreStatus::NoRoom) {
    Error(this, 661_txt);
  } else if (const TextNo t = MessageOf(s); t.n) {
    Error(this, t);
  }
}

bool CChInfoView::OnCopy() {
  const bool ready = GridReady();
  const auto rows = grid_->SelectedRows();
  if (!ready || !rows) return false;
  TheChannelClipboard().Copy(source_->Store(), rows->first, rows->second);
  NoteOwnCopy(&TheChannelClipboard());
  return true;
}

bool CChInfoView::OnPaste() {
  if (!GridReady() || TheChannelClipboard().Empty()) return false;
  int first = grid_->CurrentRow();
  int count = -1;
  if (const auto rows = grid_->SelectedRows()) {
    first = rows->first;
    // A range of rows takes as many channels; one row takes them all.
    if (rows->second > rows->first) count = rows->second - rows->first + 1;
  }
  PasteResult result;
  doc_.Commit(QTx(739_txt), [&] { result = TheChannelClipboard().Paste(source_->Store(), first, count); });
  Reload();
  ReportStatus(result.status);
  ReportBand(result);
  return result.pasted > 0;
}

void CChInfoView::ReportBand(const PasteResult& result) {
  // Channels copied from an image of another band: one message names them.
  QStringList lines;
  if (!result.notPasted.empty())
    lines << QTx(656_txt) << QString::fromStdString(FormatText(Tx(677_txt), {ChannelNumberList(result.notPasted)}));
  if (!result.outsideBand.empty())
    lines << QString::fromStdString(FormatText(Tx(676_txt), {ChannelNumberList(result.outsideBand)}));
  if (!lines.isEmpty()) Error(this, lines.join(QLatin1Char('\n')));
}

bool CChInfoView::OnDelete() {
  const bool ready = GridReady();
  // Channels go only with whole rows chosen from the number column.
  const auto rows = grid_->SelectedWholeRows();
  if (!ready || !rows) return false;
  StoreStatus status = StoreStatus::Ok;
  const bool changed = doc_.Commit(QTx(740_txt), [&] {
    ChannelStore& store = source_->Store();
    for (int ch = rows->first; ch <= rows->second && status == StoreStatus::Ok; ++ch)
      if (store.Exists(ch)) status = store.DeleteChannel(ch);
  });
  Reload();
  ReportStatus(status);
  return changed;
}

bool CChInfoView::OnToClip(bool withTitle) {
  if (!GridReady()) return false;
  return grid_->CopyRowsToClipboard(withTitle);
}

void CChInfoView::OnChannelEdit() {
  if (grid_->IsEditing()) grid_->CommitCellEdit();
  CChEditView::ShowChannel(grid_->CurrentRow());
  doc_.OpenEditor(EditorKind::ChEdit);
}

bool CChInfoView::OnPasteLatest() {
  return PasteLatest(&TheChannelClipboard(), TheChannelClipboard().Empty(), [this] { return OnPaste(); });
}

}  // namespace zmp
