// Program menu: Read Data, Write Data (with its check first) and Check Data.
#include "app/MainFrame.h"

#include <QStatusBar>
#include <ctime>

#include "app/Application.h"
#include "app/CheckDataWindow.h"
#include "app/CompareWindow.h"
#include "app/FPUDoc.h"
#include "app/FilePromptsQt.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "comm/ImageTransfer.h"
#include "data/Backups.h"
#include "editors/EditorModules.h"
#include "service/LinkUiQt.h"
#include "service/TransferDialog.h"

namespace zmp {

QString CMainFrame::BackupsFolder() const {
  return DefaultDataFolder(DocumentsFolder(), app_.Options().programDir) + QStringLiteral("backups");
}

void CMainFrame::OnReadData() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return;
  }
  // Reading replaces the image: the edits are saved first or given up on purpose.
  if (!PassSaveChangesPrompt()) return;
  CTransferDlg dlg(CTransferDlg::Direction::Read, TheLink(), app_.Image(), this);
  CurrentPrompts().RunDialog(dlg);
  if (dlg.TransferResult() == kTransferCancelled) {
    statusBar()->showMessage(QTx(408_txt), 15000);
    return;
  }
  if (dlg.TransferResult() != 0) return;
  FileError error;
  const std::string backup = SaveBackup(FileSystemName(BackupsFolder()), app_.Image().transfer(),
                                        std::time(nullptr), kBackupsKept, &error);
  // A repeater read as its own model: as after a change in Model Information,
  // the image no longer belongs to the file it came from.
  if (dlg.ReadAsOtherModel()) app_.ResetFileNames();
  ReplaceImageFromTransfer();
  if (backup.empty())
    Error(this, QTxFormat(476_txt, {FileErrorText(error)}));
  else
    statusBar()->showMessage(QTxFormat(475_txt, {backup}), 15000);
}

bool CMainFrame::DecideToWrite() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return false;
  }
  // Values the editors would not store go to the repeater only when the
  // user says so, having seen them.
  auto problems = CheckImage(EditorModules(), app_.Image());
  if (problems.empty()) return Confirm(this, 444_txt, Buttons::OkCancelDefaultCancel) == Answer::Ok;
  CWriteCheckDlg dlg(std::move(problems), app_.Image(), this);
  const bool write = CurrentPrompts().RunDialog(dlg) == QDialog::Accepted;
  if (const FieldInstance* chosen = dlg.Chosen()) OpenEditorAt(*chosen);
  return write;
}

void CMainFrame::OnWriteData() {
  if (DecideToWrite()) RunWrite();
}

bool CMainFrame::RunWrite() {
  CTransferDlg dlg(CTransferDlg::Direction::Write, TheLink(), app_.Image(), this);
  CurrentPrompts().RunDialog(dlg);
  if (dlg.TransferResult() == 0) {
    // The repeater now holds the image as it stands: that is the snapshot,
    // and what was written is kept beside the backups of reads.
    app_.Image().TakeSnapshot();
    emit ImageReset();
    FileError error;
    const std::string backup = SaveBackup(FileSystemName(BackupsFolder()), app_.Image().transfer(),
                                          std::time(nullptr), kBackupsKept, &error, BackupKind::Written);
    statusBar()->showMessage(QTx(603_txt) + QStringLiteral("  ") +
                                 (backup.empty() ? QTxFormat(606_txt, {FileErrorText(error)}) : QTxFormat(604_txt, {backup})),
                             15000);
    Notice(this, 603_txt);
  } else if (dlg.TransferResult() == kTransferCancelled) {
    statusBar()->showMessage(QTx(409_txt), 15000);
  } else if (dlg.LeftPartialWrite()) {
    // Said in the failure message too; the write stays on offer.
    statusBar()->showMessage(QTx(410_txt));
  }
  UpdateCaption();
  return dlg.TransferResult() == 0;
}

void CMainFrame::FollowImage(QWidget* window, const std::function<void()>& refresh) {
  const auto follow = [this, window, refresh](CFPUDoc* doc) {
    connect(doc, &EditorDocument::ImageChanged, window, refresh);
  };
  follow(&Doc());
  connect(this, &CMainFrame::DocumentOpened, window, follow);
  connect(this, &CMainFrame::ImageReset, window, refresh);
}

void CMainFrame::OnCheckData() {
  if (!checkData_) {
    checkData_ = new CCheckDataWnd(*this, app_.Image(), this);
    checkData_->setAttribute(Qt::WA_DeleteOnClose);
    CCheckDataWnd* window = checkData_;
    FollowImage(window, [window] { window->Refresh(); });
  }
  checkData_->Refresh();
  checkData_->show();
  checkData_->raise();
  checkData_->activateWindow();
}

CCheckDataWnd* CMainFrame::CheckDataWindow() const { return checkData_; }

void CMainFrame::OnCompareWithRepeater() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return;
  }
  if (!compare_) {
    compare_ = new CCompareWnd(*this, app_.Image(), this);
    compare_->setAttribute(Qt::WA_DeleteOnClose);
    // It compares every change of the data with the image read.
    CCompareWnd* window = compare_;
    FollowImage(window, [window] { window->Refresh(); });
  }
  // A first read that fails opens no window; an open one says nothing was compared.
  if (!compare_->Compare() && !compare_->isVisible()) {
    compare_->deleteLater();
    return;
  }
  compare_->show();
  compare_->raise();
  compare_->activateWindow();
}

CCompareWnd* CMainFrame::CompareWindow() const { return compare_; }

}  // namespace zmp
