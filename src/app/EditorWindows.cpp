// The main window's editor windows: which editors are built, the shared
// document, opening an editor (at a field) and closing them.
#include "app/MainFrame.h"

#include <QMdiArea>
#include <QStatusBar>
#include <QUndoStack>

#include "app/Application.h"
#include "app/FPUDoc.h"
#include "app/Frames.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/FieldFocus.h"

namespace zmp {

namespace {
std::map<EditorKind, EditorFactory>& ExtraFactories() {
  static std::map<EditorKind, EditorFactory> f;
  return f;
}
const EditorFactory* FactoryOf(EditorKind kind) {
  const auto& built = BuiltEditors();
  if (auto it = built.find(kind); it != built.end() && it->second) return &it->second;
  if (auto it = ExtraFactories().find(kind); it != ExtraFactories().end() && it->second)
    return &it->second;
  return nullptr;
}
}  // namespace

void CMainFrame::AddEditorFactory(EditorKind kind, EditorFactory factory) {
  if (factory)
    ExtraFactories()[kind] = std::move(factory);
  else
    ExtraFactories().erase(kind);
}

bool CMainFrame::IsEditorBuilt(EditorKind kind) { return FactoryOf(kind) != nullptr; }

CFPUDoc& CMainFrame::Doc() {
  if (!doc_) {
    doc_ = new CFPUDoc(app_.Image(), this, this);
    connect(&doc_->UndoStack(), &QUndoStack::indexChanged, this, [this] { UpdateCommandStates(); });
    connect(doc_, &CFPUDoc::Released, this, [this](const QString& text) { statusBar()->showMessage(text, 15000); });
    UpdateCommandStates();
    emit DocumentOpened(doc_);
  }
  return *doc_;
}

QList<CEditorFrame*> CMainFrame::EditorFrames() const {
  QList<CEditorFrame*> out;
  for (auto* w : mdi_->subWindowList())
    if (auto* f = qobject_cast<CEditorFrame*>(w); f && !f->IsClosed()) out.push_back(f);
  return out;
}

CEditorFrame* CMainFrame::EditorFrame(EditorKind kind) const {
  for (auto* f : EditorFrames())
    if (f->Kind() == kind) return f;
  return nullptr;
}

bool CMainFrame::OpenEditor(EditorKind kind) {
  const EditorFactory* factory = FactoryOf(kind);
  if (!factory) return false;
  if (CEditorFrame* f = EditorFrame(kind)) {
    if (f->isMinimized()) f->showNormal();
    mdi_->setActiveSubWindow(f);
    return true;
  }
  CFPUDoc& doc = Doc();
  QWidget* view = (*factory)(doc, nullptr);
  if (!view) return false;  // never an empty frame
  // Views ask for a page of the guide (F1, their Help buttons).
  if (view->metaObject()->indexOfSignal("HelpRequested(QString)") >= 0)
    connect(view, SIGNAL(HelpRequested(QString)), this, SLOT(ShowHelpTarget(QString)));
  CEditorFrame* frame = MakeEditorFrame(kind);
  frame->SetView(view);
  mdi_->addSubWindow(frame);
  connect(frame, &CEditorFrame::Closed, this, [this, kind] {
    if (doc_) doc_->NotifyEditorClosed(kind);
    OnFrameClosed();
  });
  frame->show();
  FitIntoMdiArea(frame);
  mdi_->setActiveSubWindow(frame);
  UpdateTree();
  return true;
}

bool CMainFrame::OpenEditorAt(const FieldInstance& field) {
  if (!field.module || !field.ref.table || !field.ref.decl || field.ref.table->hidden) return false;
  const FieldTable& table = *field.ref.table;
  const auto kind = static_cast<EditorKind>(field.module->kind);
  if (!IsEditorBuilt(kind) || !TableShown(table, app_.Image())) return false;
  if (table.channelRows && table.kind == TableKind::Form) {
    // A per-channel form shows the channel edit form's current channel and
    // follows it: that form opens (or steps) to the field's channel first.
    CChEditView::ShowChannel(field.ref.row);
    if (kind != EditorKind::ChEdit && !OpenEditor(EditorKind::ChEdit)) return false;
    Doc().SetCurrentChannel(field.ref.row);
  }
  if (!OpenEditor(kind)) return false;
  const CEditorFrame* frame = EditorFrame(kind);
  auto* view = frame ? dynamic_cast<FieldFocusView*>(frame->View()) : nullptr;
  if (!view) return false;
  // The field's control takes the focus in this window, wherever the
  // request came from.
  activateWindow();
  return view->FocusField(field.ref);
}

void CMainFrame::CloseEditor(EditorKind kind) {
  if (CEditorFrame* f = EditorFrame(kind)) f->close();
}

void CMainFrame::CloseAllEditors() {
  for (CEditorFrame* f : EditorFrames()) f->close();
}

void CMainFrame::OnFrameClosed() {
  // The document lives while any editor window exists.
  if (EditorFrames().isEmpty() && doc_) {
    CFPUDoc* doc = doc_;
    doc_ = nullptr;
    doc->deleteLater();
    UpdateCommandStates();
  }
}

}  // namespace zmp
