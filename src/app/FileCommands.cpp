// File menu and the Program menu's tuning file entries: New, Open, Save,
// Save As, and the image replacement every one that loads an image ends with.
#include "app/MainFrame.h"

#include "app/Application.h"
#include "app/FPUDoc.h"
#include "app/FilePromptsQt.h"
#include "ui/Messages.h"
#include "data/NewImage.h"
#include "editors/ChannelStore.h"

namespace zmp {

void CMainFrame::ImageReplaced() {
  if (doc_) doc_->ClearHistory();
  RebuildMenus();
  UpdateTree();
  UpdateCaption();
  emit ImageReset();
  PostCommand(cmd::kChInfo);
}

void CMainFrame::ReplaceImageFromTransfer() {
  CloseAllEditors();
  ImageStore& image = app_.Image();
  image.CopyTransferToWorking();
  // The control standard is fixed and the limits follow the record's band;
  // the channel clipboard belongs to the image that went.
  ChannelImageReplaced(image);
  image.TakeSnapshot();
  ImageReplaced();
}

FileState CMainFrame::CurrentFileState() const {
  FileState s;
  s.folder = FileSystemName(app_.LastFilePath());
  s.fileName = FileSystemName(app_.DataFileName());
  s.embedPassword = app_.DataFilePassword();
  s.password = app_.Security().password;
  s.tuningFolder = tuningFolder_;
  return s;
}

void CMainFrame::StoreFileState(const FileState& s) {
  app_.SetLastFilePath(DisplayName(s.folder));
  app_.SetDataFileName(DisplayName(s.fileName));
  tuningFolder_ = s.tuningFolder;
}

template <class Op>
auto CMainFrame::WithFileOperations(Op op) {
  FileState state = CurrentFileState();
  QtFilePrompts prompts(this);
  FileOperations ops(app_.Image(), state, prompts);
  auto result = op(ops);
  StoreFileState(state);
  UpdateCaption();
  // A save takes the snapshot again (and stamps the version and checksum).
  emit ImageReset();
  return result;
}

bool CMainFrame::PassSaveChangesPrompt() {
  return WithFileOperations([](FileOperations& ops) { return ops.PassSaveChanges(); });
}

bool CMainFrame::Save() {
  return WithFileOperations([](FileOperations& ops) { return ops.Save(); });
}

bool CMainFrame::SaveAs() {
  return WithFileOperations([](FileOperations& ops) { return ops.SaveAs(); });
}

void CMainFrame::OnOpen() {
  if (WithFileOperations([](FileOperations& ops) { return ops.Open(); }) == OpenOutcome::Opened)
    ReplaceImageFromTransfer();
}

bool CMainFrame::OpenDataFile(const QString& path) {
  const OpenOutcome r = WithFileOperations(
      [&path](FileOperations& ops) { return ops.OpenPath(FileSystemName(path)); });
  if (r != OpenOutcome::Opened) return false;
  ReplaceImageFromTransfer();
  return true;
}

void CMainFrame::OnNew() {
  if (!WithFileOperations([](FileOperations& ops) { return ops.ConfirmNew(); })) return;
  CloseAllEditors();
  MakeNewImageForCurrentModel(app_.Image());
  app_.ResetFileNames();
  ImageReplaced();
}

void CMainFrame::OnOpenTuningFile() {
  WithFileOperations([this](FileOperations& ops) { return ops.OpenTuningFile(tuning_); });
}

void CMainFrame::OnSaveTuningFile() {
  WithFileOperations([this](FileOperations& ops) { return ops.SaveTuningFile(tuning_); });
}

}  // namespace zmp
