#include "app/PrintCommands.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <ctime>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "editors/EditorModules.h"
#include "print/ui/ListingRenderer.h"
#include "print/ui/PrintListDialog.h"

namespace zmp {

namespace {

CFPUApp& App() { return *TheApp(); }

print::Listing ListingOf(const print::ListingChoice& choice) {
  return print::BuildListing(EditorModules(), App().Image(), choice);
}

print::PageHeader HeaderNow() {
  return print::HeaderOf(App().Image(), App().DataFileName().toStdString(), std::time(nullptr));
}

void PrintOnPrinter(CMainFrame& frame, const print::ListingChoice& choice) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(print::DefaultPageLayout());
  printer.setDocName(QTx(925_txt));
  QPrintDialog dialog(&printer, &frame);
  if (CurrentPrompts().RunDialog(dialog) != QDialog::Accepted) return;
  print::PaintListing(ListingOf(choice), HeaderNow(), printer);
}

// The suggested PDF: the data file's name with ".pdf", in its folder.
QString PdfSuggestion() {
  const QFileInfo data(App().DataFileName());
  return App().LastFilePath() + data.completeBaseName() + QStringLiteral(".pdf");
}

}  // namespace

print::ListingChoice RememberedPrintChoice() {
  const Settings settings;
  const QStringList omitted = settings.PrintOmitted();
  print::ListingChoice choice;
  for (const auto& s : print::ListSections(EditorModules()))
    if (!omitted.contains(QString::fromStdString(s.key))) choice.sections.push_back(s.key);
  const auto [first, last] = settings.PrintChannels();
  choice.channels = print::LimitChannelRange(first, last);
  return choice;
}

void RememberPrintChoice(const print::ListingChoice& choice) {
  Settings settings;
  QStringList omitted;
  for (const auto& s : print::ListSections(EditorModules()))
    if (std::find(choice.sections.begin(), choice.sections.end(), s.key) == choice.sections.end())
      omitted << QString::fromStdString(s.key);
  settings.SetPrintOmitted(omitted);
  settings.SetPrintChannels(choice.channels.first, choice.channels.last);
}

void RunPrintOutList(CMainFrame& frame) {
  print::CPrintListDlg dialog(EditorModules(), App().Image(), RememberedPrintChoice(), &frame);
  if (CurrentPrompts().RunDialog(dialog) != QDialog::Accepted) return;
  const print::ListingChoice choice = dialog.Choice();
  RememberPrintChoice(choice);
  switch (dialog.ChosenAction()) {
    case print::CPrintListDlg::Action::Print: PrintOnPrinter(frame, choice); break;
    case print::CPrintListDlg::Action::Preview: RunPrintPreview(frame, choice); break;
    case print::CPrintListDlg::Action::Pdf: RunSavePdf(frame, choice); break;
    case print::CPrintListDlg::Action::None: break;
  }
}

void RunPrintPreview(CMainFrame& frame, const print::ListingChoice& choice) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(print::DefaultPageLayout());
  QPrintPreviewDialog preview(&printer, &frame);
  const print::Listing listing = ListingOf(choice);
  const print::PageHeader header = HeaderNow();
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&](QPrinter* p) { print::PaintListing(listing, header, *p); });
  CurrentPrompts().RunDialog(preview);
}

bool RunSavePdf(CMainFrame& frame, const print::ListingChoice& choice) {
  QString path = CurrentPrompts().SaveFileName(&frame, QTx(626_txt), PdfSuggestion(), QTx(625_txt));
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  const std::string failure = print::WriteListingPdf(ListingOf(choice), HeaderNow(), path.toStdString());
  if (failure.empty()) return true;
  Error(&frame, QString::fromStdString(failure));
  return false;
}

}  // namespace zmp
