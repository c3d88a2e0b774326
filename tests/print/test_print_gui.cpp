// Printing from the program on the offscreen platform: the "Print Out List"
// dialog's choices, its page count against the pages of the PDF actually
// written, the remembered choices, File > Print through the main window, and
// a PDF that cannot be written.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>

#include "../editors/EditorTestSupport.h"
#include "../support/AppFixture.h"
#include "app/Commands.h"
#include "app/PrintCommands.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "print/ui/ListingRenderer.h"
#include "print/ui/PrintListDialog.h"

using namespace zmp;
using namespace zmp::print;
using Action = CPrintListDlg::Action;

namespace {

// Pages of a PDF as poppler reads them.
int PdfPages(const QString& path) {
  const std::string cmd = "pdfinfo '" + path.toStdString() + "' 2>/dev/null";
  FILE* p = ::popen(cmd.c_str(), "r");
  int pages = -1;
  char line[512];
  while (p && std::fgets(line, sizeof line, p))
    if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
  if (p) ::pclose(p);
  return pages;
}

void FillChannels(ImageStore& image) {
  ChannelStore store(image);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    CommitFieldText(ChannelField(ch, "tx_frequency"), store.Image(), "150." + std::to_string(100 + 5 * ch));
  }
}

class PrintGuiTest : public zmp::testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    zmp::testing::UseProgramTexts();
    otherAnswer = Answer::Ok;
    image.MakeBlank();
    ModelInfo(image).SetRecord(ModelRecord::Default());
  }

  ImageStore image;
};

TEST_F(PrintGuiTest, PageCountOfTheDialogIsThePagesPrinted) {
  FillChannels(image);
  const auto before = zmp::testing::AllBytes(image);
  ListingChoice all;
  for (const auto& s : ListSections(EditorModules())) all.sections.push_back(s.key);
  CPrintListDlg dlg(EditorModules(), image, all);
  const PageHeader header = HeaderOf(image, "site.dat", 0);
  int checked = 0;
  auto expectCountIsPrinted = [&](const char* what) {
    const QString pdf = Path("count.pdf");
    ASSERT_EQ(WriteListingPdf(BuildListing(EditorModules(), image, dlg.Choice()), header, pdf.toStdString()), "");
    EXPECT_EQ(dlg.PageCount(), PdfPages(pdf)) << what;
    EXPECT_TRUE(dlg.PagesLabel()->text().contains(QString::number(dlg.PageCount()))) << what;
    ++checked;
  };
  expectCountIsPrinted("everything");
  EXPECT_GE(dlg.PageCount(), 3);
  dlg.SectionBox("channel_edit")->setChecked(false);
  expectCountIsPrinted("without the channel edit table");
  dlg.FirstChannel()->setValue(25);
  expectCountIsPrinted("channels 25 to 30");
  for (const auto& s : ListSections(EditorModules())) dlg.SectionBox(s.key)->setChecked(s.key == kModelSection);
  expectCountIsPrinted("the model header alone");
  EXPECT_EQ(dlg.PageCount(), 1);
  dlg.SectionBox("channel_edit")->setChecked(true);
  dlg.FirstChannel()->setValue(1);
  dlg.LastChannel()->setValue(30);
  expectCountIsPrinted("model and channel edit");
  EXPECT_EQ(checked, 5);
  EXPECT_EQ(zmp::testing::AllBytes(image), before);
}

TEST_F(PrintGuiTest, DialogChoicesRangeAndButtons) {
  ListingChoice initial;
  initial.sections = {"channel"};
  initial.channels = {12, 4};  // limited: 12 to 12
  CPrintListDlg dlg(EditorModules(), image, initial);
  EXPECT_EQ(dlg.windowTitle(), QTx(925_txt));
  EXPECT_TRUE(dlg.SectionBox("channel")->isChecked());
  EXPECT_FALSE(dlg.SectionBox(std::string(kModelSection))->isChecked());
  EXPECT_EQ(dlg.SectionBox("channel_edit")->text(), QTx(766_txt));
  EXPECT_EQ(dlg.FirstChannel()->value(), 12);
  EXPECT_EQ(dlg.LastChannel()->value(), 12);
  // The range stays 1..30 and the last channel never goes before the first.
  dlg.FirstChannel()->setValue(40);
  EXPECT_EQ(dlg.FirstChannel()->value(), 30);
  EXPECT_EQ(dlg.LastChannel()->value(), 30);
  dlg.FirstChannel()->setValue(3);
  dlg.LastChannel()->setValue(1);
  EXPECT_EQ(dlg.LastChannel()->value(), 3);
  EXPECT_EQ(dlg.Choice().channels, (ChannelRange{3, 3}));

  // No section: nothing to print, preview or save.
  dlg.SectionBox("channel")->setChecked(false);
  for (Action a : {Action::Print, Action::Preview, Action::Pdf}) EXPECT_FALSE(dlg.Button(a)->isEnabled());
  EXPECT_EQ(dlg.PagesLabel()->text(), QTx(630_txt));
  EXPECT_EQ(dlg.PageCount(), 0);
  dlg.SectionBox("channel_edit")->setChecked(true);
  for (Action a : {Action::Print, Action::Preview, Action::Pdf}) EXPECT_TRUE(dlg.Button(a)->isEnabled());
  dlg.Button(Action::Preview)->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.ChosenAction(), Action::Preview);
  EXPECT_EQ(dlg.Choice().sections, (std::vector<std::string>{"channel_edit"}));
}

TEST_F(PrintGuiTest, FilePrintWritesThePdfAndRemembersTheChoice) {
  CMainFrame& frame = Start();
  EXPECT_TRUE(frame.IsCommandEnabled(cmd::kPrint));
  EXPECT_TRUE(frame.IsCommandEnabled(cmd::kPrintPreview));
  EXPECT_EQ(frame.Action(cmd::kPrint)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  FillChannels(app->Image());
  const auto before = zmp::testing::AllBytes(app->Image());

  // Nothing remembered yet: every section, channels 1 to 30.
  int shownPages = -1;
  prompts.dialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<CPrintListDlg&>(d);
    EXPECT_EQ(dlg.Choice().sections.size(), EditorModules().size() + 1);
    EXPECT_EQ(dlg.Choice().channels, (ChannelRange{1, 30}));
    dlg.SectionBox("channel_edit")->setChecked(false);
    dlg.FirstChannel()->setValue(5);
    dlg.LastChannel()->setValue(9);
    shownPages = dlg.PageCount();
    dlg.Button(Action::Pdf)->click();
    return dlg.result();
  };
  prompts.saveFiles = {Path("listing")};
  ASSERT_TRUE(frame.Command(cmd::kPrint));
  EXPECT_TRUE(asked.isEmpty()) << asked.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(PdfPages(Path("listing.pdf")), shownPages);  // ".pdf" added to a bare name
  EXPECT_EQ(zmp::testing::AllBytes(app->Image()), before);

  // The next time the dialog opens with those choices; Cancel prints nothing.
  prompts.dialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<CPrintListDlg&>(d);
    EXPECT_FALSE(dlg.SectionBox("channel_edit")->isChecked());
    EXPECT_TRUE(dlg.SectionBox("channel")->isChecked());
    EXPECT_EQ(dlg.Choice().channels, (ChannelRange{5, 9}));
    return int(QDialog::Rejected);
  };
  ASSERT_TRUE(frame.Command(cmd::kPrint));
  const ListingChoice remembered = RememberedPrintChoice();
  EXPECT_EQ(std::count(remembered.sections.begin(), remembered.sections.end(), "channel_edit"), 0);

  // File > Print Preview shows the remembered choice on as many pages.
  int previewPages = -1;
  prompts.dialog = [&](QDialog& d) {
    auto* preview = d.findChild<QPrintPreviewWidget*>();
    EXPECT_TRUE(dynamic_cast<QPrintPreviewDialog*>(&d) && preview);
    if (preview) {
      preview->updatePreview();
      previewPages = preview->pageCount();
    }
    return int(QDialog::Rejected);
  };
  ASSERT_TRUE(frame.Command(cmd::kPrintPreview));
  EXPECT_EQ(previewPages, shownPages);

  // A folder that does not exist: the system's message names the path; no file.
  prompts.dialog = [&](QDialog& d) {
    dynamic_cast<CPrintListDlg&>(d).Button(Action::Pdf)->click();
    return int(QDialog::Accepted);
  };
  const QString bad = Path("missing/listing.pdf");
  prompts.saveFiles = {bad};
  ASSERT_TRUE(frame.Command(cmd::kPrint));
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains(bad));
  EXPECT_TRUE(asked[0].contains(QStringLiteral("No such file or directory")));
  EXPECT_FALSE(QFile::exists(bad));
}

}  // namespace
