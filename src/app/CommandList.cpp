#include "app/CommandList.h"

#include <QMdiArea>
#include <QStatusBar>
#include <QDockWidget>
#include <QToolBar>
#include <QUndoStack>
#include <vector>

#include "app/FPUDoc.h"
#include "app/PrintCommands.h"

namespace zmp {

std::span<const CMainFrame::CommandRow> CMainFrame::CommandList() {
  using F = CMainFrame;
  static const std::vector<CommandRow> rows{
      // File
      {cmd::kNew, [](F& f) { f.OnNew(); }},
      {cmd::kOpen, [](F& f) { f.OnOpen(); }},
      {cmd::kSave, [](F& f) { f.Save(); }},
      {cmd::kSaveAs, [](F& f) { f.SaveAs(); }},
      {cmd::kPrint, RunPrintOutList},
      {cmd::kPrintPreview, [](F& f) { RunPrintPreview(f, RememberedPrintChoice()); }},
      {cmd::kExit, [](F& f) { f.close(); }},
      // Edit (the editors' own commands need no row)
      {cmd::kUndo,
       [](F& f) {
         if (f.doc_) f.doc_->UndoStack().undo();
         f.UpdateCommandStates();
       },
       [](const F& f) { return f.doc_ && f.doc_->UndoStack().canUndo(); }, nullptr, QKeySequence::Undo},
      {cmd::kRedo,
       [](F& f) {
         if (f.doc_) f.doc_->UndoStack().redo();
         f.UpdateCommandStates();
       },
       [](const F& f) { return f.doc_ && f.doc_->UndoStack().canRedo(); }, nullptr,
       QKeySequence(Qt::CTRL | Qt::Key_Y)},
      // Model
      {cmd::kModelInformation, [](F& f) { f.OnModelInformation(); }},
      // Program
      {cmd::kReadData, [](F& f) { f.OnReadData(); }},
      {cmd::kWriteData, [](F& f) { f.OnWriteData(); }},
      {cmd::kCheckData, [](F& f) { f.OnCheckData(); }},
      {cmd::kCompareWithRepeater, [](F& f) { f.OnCompareWithRepeater(); }},
      {cmd::kOpenTuningFile, [](F& f) { f.OnOpenTuningFile(); }},
      {cmd::kSaveTuningFile, [](F& f) { f.OnSaveTuningFile(); }},
      // Tools
      {cmd::kNetworkInformation, [](F& f) { f.OnNetworkInformation(); }},
      {cmd::kFactoryReset, [](F& f) { f.OnFactoryReset(); }},
      {cmd::kDataMemoryMap, [](F& f) { f.OnDataMemoryMap(); }},
      // Setup
      {cmd::kCommunicationPort, [](F& f) { f.OnCommunicationPort(); }},
      {cmd::kLanguageFileSetup, [](F& f) { f.OnLanguageFileSetup(); }},
      // View
      {cmd::kToolBar, [](F& f) { f.toolBar_->setVisible(!f.toolBar_->isVisible()); }, nullptr,
       [](const F& f) { return !f.toolBar_->isHidden(); }},
      {cmd::kStatusBar, [](F& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); }, nullptr,
       [](const F& f) { return !f.statusBar()->isHidden(); }},
      {cmd::kTreeView, [](F& f) { f.treeDock_->setVisible(!f.treeDock_->isVisible()); }, nullptr,
       [](const F& f) { return !f.treeDock_->isHidden(); }},
      // Window
      {cmd::kCascade, [](F& f) { f.mdi_->cascadeSubWindows(); }},
      {cmd::kTile, [](F& f) { f.mdi_->tileSubWindows(); }},
      // Help
      {cmd::kHelpTopics, [](F& f) { f.OnHelp(false); }},
      {cmd::kHelpAdvanced, [](F& f) { f.OnHelp(true); }},
  };
  return rows;
}

const CMainFrame::CommandRow* CMainFrame::FindCommand(int id) {
  for (const CommandRow& row : CommandList())
    if (row.id == id) return &row;
  return nullptr;
}

void CMainFrame::RunCommand(int id) {
  if (const CommandRow* row = FindCommand(id))
    row->run(*this);
  else if (auto kind = cmd::EditorOfCommand(id))
    OpenEditor(*kind);
}

bool CMainFrame::CommandOn(int id) const {
  if (const CommandRow* row = FindCommand(id)) return !row->enabled || row->enabled(*this);
  if (auto kind = cmd::EditorOfCommand(id)) return IsEditorBuilt(*kind);
  return false;
}

}  // namespace zmp
