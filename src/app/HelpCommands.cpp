// Help menu and every other way to the guide: its contents, the editor
// reference, a help context's page and a field's entry.
#include "app/MainFrame.h"

#include <QApplication>

#include "app/Application.h"
#include "editors/HelpTopics.h"
#include "app/HelpWindow.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"

namespace zmp {

namespace {
QString Latin(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

CHelpWindow* CMainFrame::OpenHelpWindow() {
  const QString folder = app_.GuideFolder();
  if (folder.isEmpty()) {
    const QString page = app_.GuideName() + QLatin1Char('/') + Latin(kHelpContentsPage);
    Notice(this, QString::fromStdString(FormatText(Texts().Text(124_txt), {page.toStdString()})));
    return nullptr;
  }
  // A modal dialog blocks every window but its own: help asked for from one
  // belongs to it (and goes with it).
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner) owner = this;
  if (!help_ || help_->parentWidget() != owner) {
    delete help_;
    help_ = new CHelpWindow(owner);
  }
  help_->SetGuideFolder(folder);
  help_->show();
  help_->raise();
  help_->activateWindow();
  return help_;
}

void CMainFrame::ShowHelp(int context) {
  if (CHelpWindow* h = OpenHelpWindow()) h->ShowContext(context);
}

void CMainFrame::ShowHelpTarget(const QString& target) {
  CHelpWindow* h = OpenHelpWindow();
  if (!h) return;
  if (target.isEmpty()) h->ShowContents();
  else h->ShowTarget(target);
}

void CMainFrame::OnHelp(bool advanced) {
  CHelpWindow* h = OpenHelpWindow();
  if (!h) return;
  if (advanced)
    h->ShowTarget(Latin(kReferenceContentsPage));
  else
    h->ShowContents();
}

}  // namespace zmp
