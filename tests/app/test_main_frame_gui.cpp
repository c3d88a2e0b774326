// The main window driven through its real widgets on the offscreen platform:
// editor windows, menus and tree, caption, Model Information, the file flows,
// undo, help, keys and focus. Message boxes and dialogs are answered by the test.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <set>

#include "../support/AppFixture.h"
#include "../support/Files.h"
#include "app/CheckDataWindow.h"
#include "app/Commands.h"
#include "app/FPUDoc.h"
#include "app/Frames.h"
#include "app/HelpWindow.h"
#include "app/LanguageSetupDialog.h"
#include "app/MemoryMapWindow.h"
#include "app/ModelInfoDialog.h"
#include "data/ModelChange.h"
#include "data/ModelInfo.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/CwIdFields.h"
#include "editors/EditorModules.h"
#include "editors/FieldGridSource.h"
#include "editors/FunctionCodes.h"
#include "editors/HelpLinks.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/FieldControls.h"
#include "lang/LanguageTexts.h"

using namespace zmp;

namespace {

class MainFrameTest : public zmp::testing::AppTest {
 protected:
  // The next Model Information dialog chooses this value in one of its lists and is left with OK.
  void ChooseInModelInformation(int listId, int data) {
    prompts.dialog = [listId, data](QDialog& d) {
      auto& dlg = static_cast<CModelInfoDlg&>(d);
      QComboBox* list = dlg.List(listId);
      list->setCurrentIndex(list->findData(data));
      dlg.OnOk();
      return dlg.result();
    };
  }
};

// A stand-in view for an editor kind that has no view yet.
struct TestEditor {
  explicit TestEditor(EditorKind k) : kind(k) {
    CMainFrame::AddEditorFactory(kind, [this](EditorDocument& doc, QWidget* parent) {
      ++made;
      document = &doc;
      return new QLabel(QStringLiteral("test view"), parent);
    });
  }
  ~TestEditor() { CMainFrame::AddEditorFactory(kind, {}); }
  EditorKind kind;
  int made = 0;
  EditorDocument* document = nullptr;
};

int TreeItems(const CMainFrame& f) {
  return f.Tree()->topLevelItemCount() ? f.Tree()->topLevelItem(0)->childCount() : 0;
}

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  ASSERT_NE(target, nullptr);
  // Sent as the keyboard does: the shortcuts of the menus see it first.
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(target, &release);
}

// Shortcuts work only in the active window; the help window takes it away.
void ActivateWindow(QWidget& w) {
  w.activateWindow();
  for (int i = 0; i < 200 && QApplication::activeWindow() != &w; ++i) QApplication::processEvents();
}

TEST_F(MainFrameTest, OneWindowPerEditorAndCommandsOfUnbuiltEditorsDisabled) {
  // The user records editor is never built by the program: a test view stands in.
  TestEditor key(EditorKind::UserRecords);
  CMainFrame& f = Start();
  for (const auto& t : kEditorTemplates) {
    const int c = cmd::CommandOfEditor(t.kind);
    if (c) {
      EXPECT_EQ(f.IsCommandEnabled(c), CMainFrame::IsEditorBuilt(t.kind)) << c;
    }
  }
  ASSERT_TRUE(f.Command(cmd::kUserRecords));
  ASSERT_TRUE(f.Command(cmd::kUserRecords));
  EXPECT_EQ(key.made, 1);
  int keyFrames = 0;
  for (auto* frame : f.EditorFrames()) keyFrames += frame->Kind() == EditorKind::UserRecords;
  EXPECT_EQ(keyFrames, 1);
  EXPECT_EQ(f.MdiArea()->activeSubWindow(), f.EditorFrame(EditorKind::UserRecords));
  EXPECT_EQ(key.document, f.Document());
  // Closing the last editor ends the shared document.
  f.CloseAllEditors();
  QApplication::processEvents();
  EXPECT_TRUE(f.EditorFrames().isEmpty());
}

// The tree and the Edit menu (after its own entries) carry the editors of the
// option board: 5 with it, 16 without (which rows is the command table's).
TEST_F(MainFrameTest, EditMenuAndTreeFollowTheOptionBoard) {
  CMainFrame& f = Start();
  for (int board : {1, 0}) {
    ModelInfo(Image()).SetOptionBoard(board);
    f.RebuildMenus();
    f.UpdateTree();
    EXPECT_EQ(TreeItems(f), board ? 5 : 16);
    int editors = 0;
    for (QAction* a : f.TopMenu(1)->actions()) editors += cmd::EditorOfCommand(a->data().toInt()).has_value();
    EXPECT_EQ(editors, TreeItems(f)) << board;
  }
  QAction* vendorTone = f.Action(cmd::kVelmora);
  EXPECT_EQ(vendorTone->text(), QTx(377_txt));
  vendorTone->trigger();
  EXPECT_NE(f.EditorFrame(EditorKind::Velmora), nullptr);
  EXPECT_EQ(f.TreeDock()->windowTitle(), QTx(516_txt));
  EXPECT_FALSE(f.TreeDock()->isAreaAllowed(Qt::TopDockWidgetArea));
}

TEST_F(MainFrameTest, CaptionInNormalAndDemonstrationMode) {
  {
    CMainFrame& f = Start();
    const QString expected = QStringLiteral("ZMP-318T  [ %1 ] [ %2 : zmp318t.dat ]")
                                 .arg(QString::fromStdString(ModelInfo(Image()).LongCaption()), QTx(147_txt));
    EXPECT_EQ(f.windowTitle(), expected);
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("DemoPane")), nullptr);
  }
  CMainFrame& demo = Start({"Demo"});
  EXPECT_TRUE(demo.windowTitle().endsWith(QStringLiteral("          ") + QTx(1311_txt)));
  EXPECT_NE(demo.findChild<QLabel*>(QStringLiteral("DemoPane")), nullptr);
}

// Model Information over an edited WAV-300 K image (146-174 MHz, mode 1,
// channel 1 at 150 MHz and channel 4 at 170 MHz): the dialog shows the
// record, and each change asks its questions in order and is applied (which
// change gives which code is ModelChange's).
TEST_F(MainFrameTest, ModelInformationAsksForEachChangeAndAppliesIt) {
  CMainFrame& f = Start();
  ModelInfo model(Image());
  ModelChoice start = ChoiceOf(model);
  start.modelIndex = 0;
  start.bandWord = 256;
  start.mode = 1;
  ApplyModelChange(Image(), start, kModelReinitialise);
  ChannelStore store(Image());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "150").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(3, "rx_frequency"), store.Image(), "170").ok());
  ASSERT_TRUE(Image().IsModified());
  prompts.dialog = [&](QDialog& d) {
    auto& dlg = static_cast<CModelInfoDlg&>(d);
    EXPECT_EQ(dlg.List(CModelInfoDlg::kModelList)->currentData().toInt(), 0);
    EXPECT_EQ(dlg.List(CModelInfoDlg::kFrequencyList)->currentData().toInt(), 256);
    EXPECT_FALSE(dlg.List(CModelInfoDlg::kStandardList)->isEnabled());
    // Another model type refills the frequency list with its own rows.
    dlg.List(CModelInfoDlg::kModelList)->setCurrentIndex(2);
    EXPECT_EQ(dlg.List(CModelInfoDlg::kFrequencyList)->count(), static_cast<int>(BandWordsOfModel(2).size()));
    return static_cast<int>(QDialog::Rejected);
  };
  f.Command(cmd::kModelInformation);
  EXPECT_TRUE(asked.isEmpty());

  const int board = model.OptionBoard();
  struct Change {
    const char* name;
    int list, value;
    std::deque<Answer> answers;
    QStringList asked;
    ModelChoice after;
  };
  const Change changes[] = {
      {"mode 0 asks nothing", CModelInfoDlg::kModeList, 0, {}, {},
       {.modelIndex = 0, .bandWord = 256, .mode = 0, .optionBoard = board}},
      {"the control standard is stored nowhere", CModelInfoDlg::kStandardList, 2, {Answer::Ok}, {QTx(659_txt)},
       {.modelIndex = 0, .bandWord = 256, .mode = 0, .optionBoard = board}},
      {"a band of the same destination keeps the channels and names those outside it", CModelInfoDlg::kFrequencyList,
       512, {Answer::Ok, Answer::Ok}, {QTx(658_txt), QString::fromStdString(FormatText(Tx(676_txt), {"4"}))},
       {.modelIndex = 0, .bandWord = 512, .mode = 0, .optionBoard = board}},
      {"another option board, after the save-changes question", CModelInfoDlg::kOptionBoardList, 1 - board,
       {Answer::Ok, Answer::No}, {QTx(653_txt), QTx(650_txt)},
       {.modelIndex = 0, .bandWord = 512, .mode = 0, .optionBoard = 1 - board}},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.name);
    asked.clear();
    answers = c.answers;
    ChooseInModelInformation(c.list, c.value);
    f.Command(cmd::kModelInformation);
    ASSERT_EQ(asked.size(), c.asked.size()) << asked.join(QStringLiteral(" | ")).toStdString();
    for (int i = 0; i < asked.size(); ++i) EXPECT_TRUE(asked[i].contains(c.asked[i])) << asked[i].toStdString();
    EXPECT_EQ(ChoiceOf(model), c.after);
  }
  EXPECT_EQ(TreeItems(f), board == 1 ? 15 : 5) << "the tree follows the new option board";
}

// Over an edited image saved under a name beyond ASCII, every question of a
// file flow names the file as the file system spells it, and Cancel at any of
// them, or a file that cannot be opened or saved, keeps the image, its edit
// and the caption.
TEST_F(MainFrameTest, CancelAtAnyQuestionOfAFileFlowKeepsTheEdit) {
  CMainFrame& f = Start();
  f.show();
  const QString name = QString::fromUtf8("M\xC3\xBCller \xD0\x96.dat");
  prompts.saveFiles = {Path(name)};
  ASSERT_TRUE(f.Command(cmd::kSaveAs));
  EXPECT_TRUE(QFileInfo::exists(Path(name)));
  const QString caption = f.windowTitle();
  EXPECT_TRUE(caption.contains(QStringLiteral(": ") + name + QStringLiteral(" ]"))) << caption.toStdString();
  Image().Main().SetByte(0x0800, 0x42);
  const ImageCopy edited = Image().working();
  zmp::testing::WriteBytes(Path("bad.dat").toStdString(), std::string(200, 'x'));
  const QString below = Path(name) + QStringLiteral("/inside.dat");
  const QString saveChanges = QTx(650_txt) + QStringLiteral(" \"%1\" ?").arg(name);
  const QString overwrite = QTx(651_txt) + QStringLiteral("\n\n") + QTx(652_txt) + QStringLiteral(" : ") + Path(name);
  struct Flow {
    const char* name;
    int command;
    std::deque<Answer> answers;
    QString file;  // chosen in the file dialog
    QStringList asked;
  };
  const Flow flows[] = {
      {"New, Cancel at its question", cmd::kNew, {Answer::Cancel}, {}, {QTx(653_txt)}},
      {"New, Cancel at the save-changes question", cmd::kNew, {Answer::Ok, Answer::Cancel}, {}, {QTx(653_txt), saveChanges}},
      {"Open, Cancel at the save-changes question", cmd::kOpen, {Answer::Cancel}, {}, {saveChanges}},
      {"Open a file that is no data file", cmd::kOpen, {Answer::No}, Path("bad.dat"),
       {saveChanges, QStringLiteral("bad.dat is not a data file of this program.")}},
      {"Save over the file, Cancel", cmd::kSave, {Answer::Cancel}, {}, {overwrite}},
      {"Save As below a file: not saved, named", cmd::kSaveAs, {}, below, {below}},
      {"Model Information, Cancel at its question", cmd::kModelInformation, {Answer::Cancel}, {}, {QTx(653_txt)}},
      {"Model Information, Cancel at the save-changes question", cmd::kModelInformation,
       {Answer::Ok, Answer::Cancel}, {}, {QTx(653_txt), saveChanges}},
      {"Exit, Cancel at its question", cmd::kExit, {Answer::Cancel}, {}, {QTx(426_txt)}},
      {"Exit, Cancel at the save-changes question", cmd::kExit, {Answer::Ok, Answer::Cancel}, {}, {QTx(426_txt), saveChanges}},
  };
  ChooseInModelInformation(CModelInfoDlg::kOptionBoardList, 1 - ModelInfo(Image()).OptionBoard());
  for (const Flow& flow : flows) {
    SCOPED_TRACE(flow.name);
    asked.clear();
    answers = flow.answers;
    prompts.openFiles = prompts.saveFiles = {flow.file};
    ASSERT_TRUE(f.Command(flow.command));
    QApplication::processEvents();
    ASSERT_EQ(asked.size(), flow.asked.size()) << asked.join(QStringLiteral(" | ")).toStdString();
    for (int i = 0; i < asked.size(); ++i) EXPECT_TRUE(asked[i].contains(flow.asked[i])) << asked[i].toStdString();
    EXPECT_TRUE(Image().working() == edited);
    EXPECT_TRUE(Image().IsModified());
    EXPECT_EQ(f.windowTitle(), caption);
    EXPECT_TRUE(f.isVisible());
  }
}

// Answered on, the flows replace the image: Save As adds the extension and
// takes the folder; Save over the file; Open without saving closes the
// editors of the old data and reopens channel information; New gives the
// defaults; Exit keeps the window's placement.
TEST_F(MainFrameTest, FileFlowsAnsweredOnReplaceTheImage) {
  CMainFrame& f = Start();
  f.show();
  const ImageCopy fresh = Image().working();
  Image().Main().SetByte(0x0800, 0x5A);
  prompts.saveFiles = {Path("site")};
  ASSERT_TRUE(f.Command(cmd::kSaveAs));
  EXPECT_TRUE(QFile::exists(Path("site.dat")));
  EXPECT_FALSE(Image().IsModified());
  EXPECT_TRUE(f.windowTitle().contains(QStringLiteral(": site.dat ]")));
  EXPECT_EQ(app->LastFilePath(), dir.path() + QStringLiteral("/"));
  Image().Main().SetByte(0x0800, 0x6B);
  answers = {Answer::Ok};
  ASSERT_TRUE(f.Command(cmd::kSave));
  EXPECT_FALSE(Image().IsModified());

  Image().Main().SetByte(0x0800, 0x7C);
  ASSERT_TRUE(f.Command(cmd::kKey));
  answers = {Answer::No};
  prompts.openFiles = {Path("site.dat")};
  ASSERT_TRUE(f.Command(cmd::kOpen));
  QApplication::processEvents();
  EXPECT_EQ(Image().Main().Byte(0x0800), 0x6B);
  EXPECT_FALSE(Image().IsModified());
  EXPECT_EQ(f.EditorFrame(EditorKind::Key), nullptr) << "no editor of the previous data remains";
  EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);
  EXPECT_EQ(f.EditorFrames().size(), 1);

  Image().Main().SetByte(0x0800, 0x12);
  answers = {Answer::Ok, Answer::No};
  ASSERT_TRUE(f.Command(cmd::kNew));
  EXPECT_TRUE(Image().working() == fresh);
  EXPECT_TRUE(f.windowTitle().contains(QStringLiteral(": zmp318t.dat ]")));

  Image().Main().SetByte(0x0800, 0x01);
  answers = {Answer::Ok, Answer::No};
  ASSERT_TRUE(f.Command(cmd::kExit));
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(ParseWindowPlacement(Setting("LastWinPos").toString().toStdString()));
}

TEST_F(MainFrameTest, CommitIsUndoneAndRedoneByteForByte) {
  CMainFrame& f = Start();
  ASSERT_TRUE(f.Command(cmd::kKey));
  CFPUDoc& doc = *f.Document();
  const ImageCopy before = Image().working();
  EXPECT_FALSE(f.IsCommandEnabled(cmd::kUndo));
  ASSERT_TRUE(doc.Commit(QStringLiteral("edit"), [&] {
    Image().Main().SetByte(0x0801, 0x42);
    Image().Block(BlockId::Second).SetWord(100, 0x1234);
  }));
  EXPECT_FALSE(doc.Commit(QStringLiteral("nothing"), [] {})) << "no step without a change";
  const ImageCopy after = Image().working();
  EXPECT_TRUE(f.IsCommandEnabled(cmd::kUndo));
  ASSERT_TRUE(f.Command(cmd::kUndo));
  EXPECT_TRUE(Image().working() == before);
  ASSERT_TRUE(f.Command(cmd::kRedo));
  EXPECT_TRUE(Image().working() == after);
  // A change that throws leaves the image as it was and records nothing.
  EXPECT_THROW(doc.Commit(QStringLiteral("bad"), [&] {
    Image().Main().SetByte(0x0802, 1);
    Image().Main().SetByte(1 << 20, 1);
  }), std::out_of_range);
  EXPECT_TRUE(Image().working() == after);
  EXPECT_EQ(doc.UndoStack().count(), 1);
  // Replacing the image empties the history and closes the editors.
  Image().CopyWorkingToTransfer();
  f.ReplaceImageFromTransfer();
  QApplication::processEvents();
  EXPECT_EQ(f.EditorFrame(EditorKind::Key), nullptr);
  EXPECT_EQ(f.EditorFrames().size(), 1) << "only the channel information editor reopens";
  EXPECT_FALSE(f.IsCommandEnabled(cmd::kUndo));
}

// The guide beside the program (bin/help/en, written by the build): Help
// Topics, F1 and the Help buttons open the page and anchor of their help
// context; an unknown context opens the contents and says so.
TEST_F(MainFrameTest, HelpOpensTheGuideAtTheContextOfTheWindow) {
  CMainFrame& f = Start();
  ASSERT_FALSE(app->GuideFolder().isEmpty()) << "the build writes the guide into bin/help/en";
  f.Command(cmd::kHelpTopics);
  CHelpWindow* help = f.HelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith(QStringLiteral("help/en/index.html")));
  EXPECT_FALSE(help->windowIcon().isNull()) << "every window carries the program's icon";

  ASSERT_TRUE(f.OpenEditor(EditorKind::ChInfo));
  EXPECT_FALSE(f.windowIcon().isNull());
  EXPECT_EQ(f.EditorFrame(EditorKind::ChInfo)->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());

  // The Help button of a dialog, then Back and Forward. (F1 on the fields:
  // OpenEditorAtFocusesEveryFieldAndF1OpensItsEntry.)
  prompts.dialog = [](QDialog& d) {
    static_cast<CModelInfoDlg&>(d).HelpButton()->click();
    return QDialog::Rejected;
  };
  f.Command(cmd::kModelInformation);
  EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("dialogs.html"));
  EXPECT_EQ(help->Browser()->source().fragment(), QStringLiteral("model-information"));
  ASSERT_TRUE(help->BackAction()->isEnabled());
  help->BackAction()->trigger();
  EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("index.html"));
  EXPECT_TRUE(help->ForwardAction()->isEnabled());

  // A context without a page: the contents, and a note naming the number.
  f.ShowHelp(12345);
  EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("index.html"));
  EXPECT_TRUE(help->Note()->isVisibleTo(help));
  EXPECT_TRUE(help->Note()->text().contains(QStringLiteral("12345")));
  // Advanced: the editor reference; F1 that no window takes: the contents.
  f.Command(cmd::kHelpAdvanced);
  EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith(QStringLiteral("reference/index.html")));
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&f, &f1);
  EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("index.html"));
  EXPECT_FALSE(help->Note()->isVisibleTo(help));

  // Search lists the pages that hold every word; nothing found says so.
  const QStringList pages = help->Search(QStringLiteral("dialout adduser"));
  EXPECT_TRUE(pages.contains(QStringLiteral("getting-started.html"))) << pages.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(help->Results()->count(), pages.size());
  help->Results()->setCurrentRow(0);
  EXPECT_EQ(help->Browser()->source().fileName(), QFileInfo(pages[0]).fileName());
  EXPECT_TRUE(help->Browser()->textCursor().hasSelection()) << "the word is found on the page";
  EXPECT_TRUE(help->Search(QStringLiteral("xyzzyq")).isEmpty());
  EXPECT_TRUE(help->Note()->text().contains(QStringLiteral("xyzzyq")));
}

TEST_F(MainFrameTest, AMissingGuideIsNamedInAClearMessage) {
  // A program folder with the language file and no guide.
  ASSERT_TRUE(Launch({}, ProgramFolder(QByteArray::fromStdString(zmp::testing::ReadText(ZMP_BIN_DIR "/zmp318t.lng")))));
  if (!app->GuideFolder().isEmpty()) GTEST_SKIP() << "a guide is installed on this machine";
  app->MainFrame()->Command(cmd::kHelpTopics);
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("help/en/index.html"))) << asked[0].toStdString();
  EXPECT_EQ(app->MainFrame()->HelpWindow(), nullptr);
  app->MainFrame()->ShowHelp(78081);
  EXPECT_EQ(asked.size(), 2);
}

// The dialog offers the languages the language file holds: English alone in
// the program's file; with a German column too, both.
TEST_F(MainFrameTest, LanguageFileSetupOffersTheFilesLanguagesAndSwitchesTheGuide) {
  CMainFrame& f = Start();
  int offered = 0;
  prompts.dialog = [&](QDialog& d) {
    offered = static_cast<CLanguageSetupDlg&>(d).List()->count();
    return QDialog::Rejected;
  };
  f.Command(cmd::kLanguageFileSetup);
  EXPECT_EQ(offered, 1);

  // A language file with a second column.
  QByteArray text;
  for (QByteArray line : QByteArray::fromStdString(zmp::testing::ReadText(ZMP_BIN_DIR "/zmp318t.lng")).split('\n')) {
    if (line.startsWith("*Language,")) line += ",German";
    else if (line.startsWith("^#")) line += "," + line.mid(line.indexOf(',') + 1);
    text += line + '\n';
  }
  ASSERT_TRUE(Launch({}, ProgramFolder(text)));
  prompts.dialog = [&](QDialog& d) {
    auto& dlg = static_cast<CLanguageSetupDlg&>(d);
    offered = dlg.List()->count();
    EXPECT_EQ(dlg.List()->currentData().toInt(), 1) << "the loaded language is selected";
    dlg.List()->setCurrentIndex(dlg.List()->findData(4));
    dlg.OkButton()->click();
    return dlg.result();
  };
  answers = {Answer::Ok};
  app->MainFrame()->Command(cmd::kLanguageFileSetup);
  EXPECT_EQ(offered, 2);
  EXPECT_EQ(app->LanguageId(), 4);
  EXPECT_EQ(app->GuideName(), QStringLiteral("help/ge"));
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], QTx(125_txt));
  app->ExitInstance();
  EXPECT_EQ(Setting("Language").toInt(), 4);
}

TEST_F(MainFrameTest, MissingDebugLibraryIsSilent) {
  CMainFrame& f = Start({"SupportUtility", "memmap"});
  EXPECT_FALSE(f.DebugLibraryLoaded());
  EXPECT_FALSE(f.OpenMemMapDebugWindow());
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MainFrameTest, TuningFileSavedAndOpenedFromTheProgramMenu) {
  CMainFrame& f = Start();
  f.Tuning().Tuning().fill(0x42);
  prompts.saveFiles = {Path("rx")};
  ASSERT_TRUE(f.Command(cmd::kSaveTuningFile));
  ASSERT_TRUE(QFile::exists(Path("rx.tun")));
  f.Tuning().Tuning().fill(0);
  prompts.openFiles = {Path("rx.tun")};
  ASSERT_TRUE(f.Command(cmd::kOpenTuningFile));
  EXPECT_EQ(f.Tuning().Tuning()[375], 0x42);
  EXPECT_EQ(f.Tuning().FileName(), "rx.tun");
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MainFrameTest, ChannelInformationShowsAllRowsWhenTheAreaAllows) {
  CMainFrame& f = Start();
  f.setWindowState(Qt::WindowNoState);
  f.setGeometry(0, 0, 1600, 1400);
  f.show();
  QApplication::processEvents();
  ASSERT_TRUE(f.OpenEditor(EditorKind::ChInfo));
  QApplication::processEvents();
  auto* grid = f.EditorFrame(EditorKind::ChInfo)->findChild<QTableView*>(QStringLiteral("ctl1014"));
  ASSERT_NE(grid, nullptr);
  const int rows = grid->model()->rowCount();
  ASSERT_EQ(rows, 30);
  EXPECT_LE(grid->rowViewportPosition(rows - 1) + grid->rowHeight(rows - 1), grid->viewport()->height())
      << "all 30 rows are visible in a large window";
  // In a small window the frame stays inside the area and its grid scrolls.
  f.CloseAllEditors();
  f.setGeometry(0, 0, 800, 500);
  QApplication::processEvents();
  ASSERT_TRUE(f.OpenEditor(EditorKind::ChInfo));
  QApplication::processEvents();
  EXPECT_LE(f.EditorFrame(EditorKind::ChInfo)->height(), f.MdiArea()->viewport()->height());
}

TEST_F(MainFrameTest, CwIdAndBeatShiftCloseWithTheChannelEditForm) {
  CMainFrame& f = Start();
  for (EditorKind k : {EditorKind::ChEdit, EditorKind::CWID, EditorKind::BeatShift}) ASSERT_TRUE(f.OpenEditor(k));
  ASSERT_NE(f.EditorFrame(EditorKind::CWID), nullptr);
  EXPECT_TRUE(f.EditorFrame(EditorKind::BeatShift)->windowTitle().startsWith("Beat Shift  [ Channel - "));
  f.EditorFrame(EditorKind::ChEdit)->close();
  QApplication::processEvents();
  EXPECT_EQ(f.EditorFrame(EditorKind::CWID), nullptr);
  EXPECT_EQ(f.EditorFrame(EditorKind::BeatShift), nullptr);
  EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr) << "the other editors stay";
}

// The page the help window shows and whether it holds the anchor it was opened at.
std::string LandedOn(const CHelpWindow& help) {
  const QUrl url = help.Browser()->source();
  QFile page(url.toLocalFile());
  if (!page.open(QIODevice::ReadOnly)) return "no page " + url.toString().toStdString();
  const QString html = QString::fromUtf8(page.readAll());
  const QString anchor = url.fragment();
  if (anchor.isEmpty() || !html.contains(QStringLiteral("id=\"%1\"").arg(anchor)))
    return "no anchor " + url.toString().toStdString();
  return {};
}

// Ctrl+Z and Ctrl+Y with the cursor in a text or spin field undo and redo the
// document exactly as Edit > Undo and Redo; in a field with text not yet
// stored, Ctrl+Z first puts back what the field showed.
TEST_F(MainFrameTest, CtrlZAndCtrlYInAFieldUndoAndRedoTheDocument) {
  CMainFrame& f = Start();
  ChannelStore store(Image());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "150.0").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), store.Image(), "155.0").ok());
  ASSERT_TRUE(CommitFieldCheck(ChannelField(0, "cw_id"), store.Image(), true).ok());
  const std::size_t interval = *ChannelStore::RecordOf(Image(), 0) + cwrec::kInterval;
  const std::uint8_t stored = Image().Main().Byte(interval);
  f.show();
  ActivateWindow(f);
  ASSERT_TRUE(f.OpenEditor(EditorKind::CWID));
  auto* spin = f.EditorFrame(EditorKind::CWID)->findChild<FieldSpin*>(QStringLiteral("ctl1392"));
  ASSERT_NE(spin, nullptr);
  QLineEdit* edit = spin->Edit();
  edit->setFocus();
  edit->selectAll();
  for (QChar c : QStringLiteral("45")) SendKey(edit, 0, Qt::NoModifier, QString(c));
  SendKey(edit, Qt::Key_Tab);
  ASSERT_EQ(Image().Main().Byte(interval), 45);
  QWidget* next = QApplication::focusWidget();
  ASSERT_NE(next, edit);
  SendKey(next, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Image().Main().Byte(interval), stored) << "Ctrl+Z in the next field undoes the document";
  EXPECT_EQ(edit->text(), QString::number(stored));
  SendKey(next, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Image().Main().Byte(interval), 45);
  EXPECT_EQ(edit->text(), "45");
  // Typed but not stored: the first Ctrl+Z puts back "45", the second undoes.
  edit->setFocus();
  edit->selectAll();
  for (QChar c : QStringLiteral("12")) SendKey(edit, 0, Qt::NoModifier, QString(c));
  SendKey(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "45");
  EXPECT_EQ(Image().Main().Byte(interval), 45);
  SendKey(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Image().Main().Byte(interval), stored);
  EXPECT_EQ(edit->text(), QString::number(stored));
}

void MouseAt(QWidget* target, QEvent::Type type, const QPoint& at) {
  QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &e);
}

// Whether the focus is on the field's control (or its grid cell) in its editor.
std::string FocusedOn(CMainFrame& f, const FieldInstance& field) {
  CEditorFrame* frame = f.EditorFrame(static_cast<EditorKind>(field.module->kind));
  if (!frame) return "no editor window";
  if (f.MdiArea()->activeSubWindow() != frame) return "its window is not the active one";
  QWidget* focus = QApplication::focusWidget();
  if (!focus || !frame->isAncestorOf(focus)) return "the focus is outside its window";
  const auto index = static_cast<std::size_t>(field.ref.decl - field.ref.table->fields.data());
  if (auto* grid = qobject_cast<EditGrid*>(focus)) {
    if (grid->CurrentRow() != field.ref.row) return "grid row " + std::to_string(grid->CurrentRow());
    if (grid->Source()->Column(grid->CurrentColumn()).title != ColumnInfoOf(*field.ref.table, index).title)
      return "grid column " + std::to_string(grid->CurrentColumn());
    return {};
  }
  const int id = field.ref.decl->valueId;
  QWidget* control = id ? frame->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
  if (id && control != focus && !(control && control->isAncestorOf(focus)))
    return "focus on " + focus->objectName().toStdString();
  return {};
}

// Every field instance of every editor (first and last row of each table)
// opens in its editor with its control or grid cell focused (tabs, per-row
// forms and per-channel forms at the field's channel, multi tables, grids),
// and F1 there opens the guide at the field's own entry. Each editor's Help
// button opens a page and anchor that exist; outside the editors F1 is Help
// Topics. (That every target exists in the guide is HelpTopics'.)
TEST_F(MainFrameTest, OpenEditorAtFocusesEveryFieldAndF1OpensItsEntry) {
  CMainFrame& f = Start();
  ChannelStore store(Image());
  for (int ch : {0, kChannelCount - 1}) {
    ASSERT_TRUE(CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), "150.0").ok());
    ASSERT_TRUE(CommitFieldText(ChannelField(ch, "tx_frequency"), store.Image(), "155.0").ok());
    ASSERT_TRUE(CommitFieldCheck(ChannelField(ch, "cw_id"), store.Image(), true).ok());
    ASSERT_TRUE(CommitFieldCheck(ChannelField(ch, "beat_shift"), store.Image(), true).ok());
  }
  f.resize(1280, 960);
  f.show();
  f.Command(cmd::kHelpTopics);
  CHelpWindow* help = f.HelpWindow();
  ASSERT_NE(help, nullptr);
  for (const auto& [kind, open] : BuiltEditors()) {
    ASSERT_TRUE(f.OpenEditor(kind));
    f.EditorFrame(kind)->findChild<QPushButton*>(QStringLiteral("ctl111"))->click();
    EXPECT_EQ(LandedOn(*help), "") << TemplateOf(kind).viewClass << " Help";
  }
  ActivateWindow(f);
  const ImageCopy before = Image().working();
  int focused = 0;
  std::set<int> editors;
  ForEachField(EditorModules(), Image(), [&](const FieldInstance& field) {
    if (field.ref.row != 0 && field.ref.row != field.ref.table->rows - 1) return;
    if (!CMainFrame::IsEditorBuilt(static_cast<EditorKind>(field.module->kind))) return;
    ASSERT_TRUE(f.OpenEditorAt(field)) << field.key;
    editors.insert(field.module->kind);
    const std::string where = FocusedOn(f, field);
    if (!where.empty()) {
      // A control that cannot be changed now (a tone of a digital channel) takes no focus.
      const int id = field.ref.decl->valueId;
      QWidget* control = id ? f.EditorFrame(static_cast<EditorKind>(field.module->kind))
                                  ->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id))
                            : nullptr;
      if (!control || control->isEnabled()) ADD_FAILURE() << field.key << ": " << where;
      return;
    }
    ++focused;
    SendKey(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(help->Browser()->source().toString().endsWith(QString::fromStdString(FieldHelpTarget(*field.ref.decl))))
        << field.key << ": F1 opened " << help->Browser()->source().toString().toStdString();
    ActivateWindow(f);  // the help window took it
  });
  EXPECT_GT(focused, 300);
  EXPECT_EQ(editors.size(), EditorModules().size());
  EXPECT_TRUE(Image().working() == before) << "opening and focusing writes nothing";
  // The channel edit form shows channel 30, and CW ID follows it.
  ASSERT_NE(f.Document(), nullptr);
  EXPECT_EQ(f.Document()->CurrentChannel(), kChannelCount - 1);
  // A slot no editor shows opens nothing.
  FieldInstance hidden;
  for (const EditorModule* m : EditorModules())
    for (const FieldTable& t : m->tables)
      if (t.hidden && !hidden.module) hidden = FieldInstance{m, FieldRef{&t, &t.fields.front(), 0}, "hidden"};
  ASSERT_NE(hidden.module, nullptr);
  EXPECT_FALSE(f.OpenEditorAt(hidden));
  f.Tree()->setFocus();
  SendKey(f.Tree(), Qt::Key_F1);
  EXPECT_EQ(help->Browser()->source().fileName(), "index.html");
}

// Started with "memmap": the memory map opens beside the channel grid, shows
// a commit live (its field, the byte framed as changed), and its double-click
// opens the field in its editor with the focus there. It never writes.
TEST_F(MainFrameTest, TheMemoryMapFollowsEditsAndOpensTheFieldItNames) {
  CMainFrame& f = Start({"MemMap"});
  f.resize(1100, 760);
  f.show();
  QApplication::processEvents();
  CMemoryMapWnd* map = f.MemoryMapWindow();
  ASSERT_NE(map, nullptr) << "opened at start";
  EXPECT_TRUE(map->isVisible());
  EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);
  MemoryMapView* view = map->View();
  view->resize(view->sizeHint());
  const std::size_t rx = kRecordAreaStart;  // channel 1's record is the first

  // A commit through the document: the map names the new field at once.
  f.Doc().Commit(QStringLiteral("RX"), [&] { CommitFieldText(ChannelField(0, "rx_frequency"), ChannelStore(Image()).Image(), "146.5"); });
  const ImageCopy committed = Image().working();
  view->SetCursor(rx);
  EXPECT_TRUE(map->FieldLine()->text().startsWith(QStringLiteral("channel[1].rx_frequency   ")))
      << map->FieldLine()->text().toStdString();
  EXPECT_TRUE(map->FieldLine()->text().endsWith(QStringLiteral(": 146.500000")));
  EXPECT_EQ(map->EditorLine()->text(), QTx(712_txt));
  EXPECT_TRUE(map->ByteLine()->text().contains(QTx(424_txt))) << map->ByteLine()->text().toStdString();
  // The mouse names the byte it is over: the channel's TX power (channel edit form).
  const std::size_t power = rx + chrec::kTxPower;
  view->SetCursor(power);
  MouseAt(view->viewport(), QEvent::MouseMove, view->HexCellRect(power).center());
  EXPECT_TRUE(map->FieldLine()->text().startsWith(QStringLiteral("channel_edit[1].tx_power")))
      << map->FieldLine()->text().toStdString();
  // Keys, the block tabs, Go to and the change steps move only the map.
  view->setFocus();
  for (int key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_Up}) {
    QKeyEvent k(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(view, &k);
  }
  map->Blocks()->setCurrentIndex(2);
  EXPECT_EQ(view->Block(), BlockId::Fourth);
  map->Blocks()->setCurrentIndex(0);
  map->GoTo()->setText(QStringLiteral("0x6000"));
  emit map->GoTo()->returnPressed();
  EXPECT_EQ(view->Cursor(), 0x6000u);
  ASSERT_TRUE(map->StepToChange(false));
  EXPECT_LT(view->Cursor(), 0x6000u);
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  view->viewport()->repaint();
  EXPECT_TRUE(Image().working() == committed) << "the map never writes";

  // Double-click on the TX power byte: the channel edit form at channel 1, its TX power focused.
  view->SetCursor(power);
  MouseAt(view->viewport(), QEvent::MouseButtonDblClick, view->HexCellRect(power).center());
  ActivateWindow(f);
  EXPECT_EQ(FocusedOn(f, *FindField(EditorModules(), Image(), "channel_edit[1].tx_power")), "");
  // Enter on the RX byte: the channel grid's RX cell of channel 1.
  view->SetCursor(rx + 2);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(view, &enter);
  ActivateWindow(f);
  EXPECT_EQ(FocusedOn(f, *FindField(EditorModules(), Image(), "channel[1].rx_frequency")), "");
  EXPECT_TRUE(Image().working() == committed);
  // Undo: the byte is the snapshot's again, and the field is gone.
  f.Command(cmd::kUndo);
  view->SetCursor(rx);
  EXPECT_FALSE(map->ByteLine()->text().contains(QTx(424_txt)));
  EXPECT_TRUE(map->FieldLine()->text().isEmpty());
  // A save takes a new snapshot: nothing counts as changed.
  f.Doc().Commit(QStringLiteral("RX"), [&] { CommitFieldText(ChannelField(0, "rx_frequency"), ChannelStore(Image()).Image(), "146.5"); });
  prompts.saveFiles = {dir.filePath(QStringLiteral("map.dat"))};
  ASSERT_TRUE(f.SaveAs());
  view->SetCursor(rx);
  EXPECT_FALSE(map->ByteLine()->text().contains(QTx(424_txt)));
  EXPECT_FALSE(map->StepToChange(true));
}

// Program > Check Data lists what a write would send that the editors would
// not store, follows the image, and opens a setting at a double-click; the
// write asks first with the same list (Cancel the default); a change that
// releases settings says so in the status bar.
TEST_F(MainFrameTest, CheckDataListsWhatAWriteWouldSendAndTheWriteAsksFirst) {
  CMainFrame& f = Start();
  f.resize(1100, 760);
  f.show();
  QApplication::processEvents();
  f.Command(cmd::kCheckData);
  CCheckDataWnd* check = f.CheckDataWindow();
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->List()->topLevelItemCount(), 0) << "a new image holds no problem";
  EXPECT_EQ(check->Summary(), QTx(335_txt));

  // Channel 3 named by the priority channel and key 1; a DQT time past its range.
  f.Doc().Commit(QStringLiteral("set up"), [&] {
    CommitFieldText(ChannelField(2, "rx_frequency"), ChannelStore(Image()).Image(), "146.5");
    Image().Main().SetByte(0x02B6, 3);
    Image().Main().SetWord(KeyGroupOffset(0), NumberedCode(2));
    Image().Main().SetByte(0x026D, 0xFF);
  });
  ASSERT_EQ(check->List()->topLevelItemCount(), 1) << "the window follows the image";
  // Deleting channel 3 releases both, in the commit's step, and says so.
  f.Doc().Commit(QStringLiteral("Delete"), [&] { ChannelStore(Image()).DeleteChannel(2); });
  const QString status = f.statusBar()->currentMessage();
  EXPECT_TRUE(status.startsWith(QStringLiteral("Delete; "))) << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("PF Key 1: Function"))) << status.toStdString();
  f.Command(cmd::kUndo);
  EXPECT_EQ(Image().Main().Byte(0x02B6), 3) << "one undo takes the delete and its releases back";

  // A key naming an emptied message is listed after the time, in editor order; a
  // double-click opens it in the key grid.
  Image().Main().SetWord(KeyGroupOffset(1), MakeFunctionCode('2', '1'));
  check->Refresh();
  ASSERT_EQ(check->List()->topLevelItemCount(), 2);
  QTreeWidgetItem* key = check->List()->topLevelItem(1);
  emit check->List()->itemActivated(key, 0);
  ActivateWindow(f);
  EXPECT_EQ(FocusedOn(f, *FindField(EditorModules(), Image(), "key_assignment[2].function")), "");
  auto* grid = qobject_cast<EditGrid*>(QApplication::focusWidget());
  ASSERT_NE(grid, nullptr);
  // The key grid shows the message's function unmarked once the message holds text.
  const auto keyText = [&] { return grid->Model()->data(grid->Model()->index(1, 1), Qt::DisplayRole).toString(); };
  EXPECT_EQ(keyText().toStdString(), "Send CW Message 1 (message empty)");
  f.Doc().Commit(QStringLiteral("CW"), [&] { Image().Main().SetText(0x0640, 32, "CQ"); });
  EXPECT_EQ(keyText().toStdString(), "Send CW Message 1") << "the grid reloads when what a key names changes";
  Image().Main().SetWord(KeyGroupOffset(2), MakeFunctionCode('5', '2'));
  Image().Main().SetByte(0x6190 + 3 * 4, 0x85);
  check->Refresh();

  // The write asks with the list: Cancel (the default) sends nothing.
  int asks = 0;
  prompts.dialog = [&](QDialog& d) {
    ++asks;
    auto* dlg = qobject_cast<CWriteCheckDlg*>(&d);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(dlg->List()->topLevelItemCount(), 3);
    EXPECT_TRUE(dlg->findChild<QPushButton*>(QStringLiteral("Cancel"))->isDefault());
    return static_cast<int>(QDialog::Rejected);
  };
  const ImageCopy before = Image().working();
  f.Command(cmd::kWriteData);
  EXPECT_EQ(asks, 1);
  EXPECT_TRUE(Image().working() == before);
}

}  // namespace
