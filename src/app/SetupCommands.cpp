// Model and Setup menus: Model Information, Communication Port and Language
// File Setup.
#include "app/MainFrame.h"

#include "app/Application.h"
#include "editors/HelpTopics.h"
#include "app/LanguageSetupDialog.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "app/ModelInfoDialog.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "data/ModelChange.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelStore.h"
#include "service/CommPortDialog.h"
#include "service/LinkUiQt.h"

namespace zmp {

void CMainFrame::OnModelInformation() {
  CModelInfoDlg dlg(ModelInfo(app_.Image()), this);
  connect(&dlg, &CModelInfoDlg::HelpRequested, this, [this] { ShowHelp(help::kModelInformation); });
  if (CurrentPrompts().RunDialog(dlg) != QDialog::Accepted) return;
  const int code = dlg.Code();
  // A full re-initialisation replaces the image: the edits are saved first or
  // given up on purpose, as for New.
  if ((code & kModelReinitialise) && !PassSaveChangesPrompt()) return;
  CloseAllEditors();
  if (ApplyModelChange(app_.Image(), dlg.Selection(), code)) app_.ResetFileNames();
  ImageReplaced();
  // A band change keeps the channels; those outside the new band are named.
  if ((code & kModelBandChanged) && !(code & kModelReinitialise)) {
    const auto outside = ChannelsOutsideBand(ChannelStore(app_.Image()));
    if (!outside.empty())
      Notice(this, QString::fromStdString(FormatText(Tx(676_txt), {ChannelNumberList(outside)})));
  }
}

void CMainFrame::OnLanguageFileSetup() {
  const LanguageRow* current = LanguageRowOf(app_.LanguageId());
  const QString name = current ? QString::fromLatin1(current->name.data(),
                                                     static_cast<qsizetype>(current->name.size()))
                               : QString::fromStdString(Texts().CurrentLanguageName());
  CLanguageSetupDlg dlg(name, this);
  connect(&dlg, &CLanguageSetupDlg::HelpRequested, this, [this] { ShowHelp(help::kLanguageFileSetup); });
  if (CurrentPrompts().RunDialog(dlg) != QDialog::Accepted || !dlg.Changed()) return;
  app_.SetLanguageId(dlg.ChosenId());
  Notice(this, 125_txt);
}

void CMainFrame::OnCommunicationPort() {
  CCommPortDlg dlg(TheLink(), this);
  connect(&dlg, &CCommPortDlg::PortChanged, this, [this] { ShowPortInStatusBar(); });
  connect(&dlg, &CCommPortDlg::HelpRequested, this, [this] { ShowHelp(help::kCommunicationPort); });
  connect(&dlg, &CCommPortDlg::PortMapped, this, [](int port, const QString& path) {
    Settings().SetPortMapEntry(port, path);
  });
  CurrentPrompts().RunDialog(dlg);
}

}  // namespace zmp
