// Tools menu: Network Information, Factory Reset, the data memory map and
// the memory-map debug library.
#include "app/MainFrame.h"

#include "app/Application.h"
#include "app/DebugLibrary.h"
#include "editors/HelpTopics.h"
#include "app/MemoryMapWindow.h"
#include "app/Prompts.h"
#include "service/LinkUiQt.h"
#include "service/ServiceDialogs.h"

namespace zmp {

void CMainFrame::OnNetworkInformation() {
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(app_.Image()).Record(), app_.Flags().demo, this);
  connect(&dlg, &CNetworkInfoDlg::HelpRequested, this, [this] { ShowHelp(help::kNetworkInformation); });
  if (dlg.ReadAddress() != 0) return;
  CurrentPrompts().RunDialog(dlg);
}

void CMainFrame::OnFactoryReset() {
  CFactoryResetDlg dlg(TheLink(), ModelInfo(app_.Image()).Record(), app_.Flags().demo, this);
  CurrentPrompts().RunDialog(dlg);
}

void CMainFrame::OnDataMemoryMap() {
  if (!memoryMap_) {
    memoryMap_ = new CMemoryMapWnd(*this, app_.Image(), this);
    memoryMap_->setAttribute(Qt::WA_DeleteOnClose);
  }
  memoryMap_->show();
  memoryMap_->raise();
  memoryMap_->activateWindow();
}

CMemoryMapWnd* CMainFrame::MemoryMapWindow() const { return memoryMap_; }

bool CMainFrame::OpenMemMapDebugWindow() {
  if (!debug_ || !debug_->IsLoaded()) return false;
  ImageStore& image = app_.Image();
  auto main = image.Block(BlockId::Main).span();
  auto second = image.Block(BlockId::Second).span();
  return debug_->OpenWindow(this, main.data(), main.size(), second.data(), second.size());
}

bool CMainFrame::DebugLibraryLoaded() const { return debug_ && debug_->IsLoaded(); }

}  // namespace zmp
