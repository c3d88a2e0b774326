#include "app/CommandList.h"

#include <QMdiArea>
#include <QStatusBar>
#include <QDockWidget>
#include <QToolBar>
#include <QUndoStack>
#include <vector>

#include "app/Application.h"
#include "app/FPUDoc.h"
#include "data/ImageStore.h"
#include "app/PrintCommands.h"

namespace zmp {

namespace {

using F = CMainFrame;
using Row = CMainFrame::CommandRow;
using cmd::Menu;

// The Program menu's password recovery shows once the maintenance region
// says the repeater has a recovery password.
constexpr std::size_t kPasswordRecoveryFlag = region::kMaintenance + 32;  // 0x58E0

Row Entry(Menu menu, int id, TextNo text, Row::Run run = nullptr, Row::Rule enabled = nullptr,
          QKeySequence shortcut = {}) {
  return {.menu = menu, .id = id, .text = text, .run = run, .enabled = enabled, .shortcut = shortcut};
}

Row Toggle(int id, TextNo text, Row::Run run, Row::Rule checked) {
  return {.menu = Menu::View, .id = id, .text = text, .run = run, .checked = checked};
}

Row Separator(Menu menu) { return {.menu = menu, .id = 0}; }

// An Edit menu entry that opens an editor, with its function-tree text.
Row EditorEntry(int id, EditorKind kind, TextNo text, TextNo treeText, bool onOptionBoard1 = false) {
  return {.menu = Menu::Edit, .id = id, .text = text, .editor = kind, .treeText = treeText,
          .onOptionBoard1 = onOptionBoard1};
}

// An editor opened from another editor, in no menu.
Row EditorOpenedFromAnEditor(int id, EditorKind kind) {
  return {.menu = Menu::None, .id = id, .editor = kind};
}

constexpr bool kAlsoOnBoard1 = true;

}  // namespace

std::span<const CMainFrame::CommandRow> CMainFrame::CommandList() {
  static const std::vector<CommandRow> rows{
      // File
      Entry(Menu::File, cmd::kNew, 58_txt, [](F& f) { f.OnNew(); }),
      Entry(Menu::File, cmd::kOpen, 59_txt, [](F& f) { f.OnOpen(); }),
      Entry(Menu::File, cmd::kSave, 60_txt, [](F& f) { f.Save(); }),
      Entry(Menu::File, cmd::kSaveAs, 61_txt, [](F& f) { f.SaveAs(); }),
      Separator(Menu::File),
      Entry(Menu::File, cmd::kPrint, 62_txt, RunPrintOutList),
      Entry(Menu::File, cmd::kPrintPreview, 63_txt,
            [](F& f) { RunPrintPreview(f, RememberedPrintChoice()); }),
      Separator(Menu::File),
      Entry(Menu::File, cmd::kExit, 64_txt, [](F& f) { f.close(); }),
      // Edit: its own entries, then the editors of the option board.
      Entry(
          Menu::Edit, cmd::kUndo, 66_txt,
          [](F& f) {
            if (f.doc_) f.doc_->UndoStack().undo();
            f.UpdateCommandStates();
          },
          [](const F& f) { return f.doc_ && f.doc_->UndoStack().canUndo(); }, QKeySequence::Undo),
      Entry(
          Menu::Edit, cmd::kRedo, 67_txt,
          [](F& f) {
            if (f.doc_) f.doc_->UndoStack().redo();
            f.UpdateCommandStates();
          },
          [](const F& f) { return f.doc_ && f.doc_->UndoStack().canRedo(); }, QKeySequence(Qt::CTRL | Qt::Key_Y)),
      Separator(Menu::Edit),
      EditorEntry(cmd::kChInfo, EditorKind::ChInfo, 88_txt, 712_txt, kAlsoOnBoard1),
      Separator(Menu::Edit),
      EditorEntry(cmd::kFeature, EditorKind::Feature, 72_txt, 702_txt, kAlsoOnBoard1),
      EditorEntry(cmd::kKey, EditorKind::Key, 71_txt, 701_txt),
      EditorEntry(cmd::kScanInfo, EditorKind::ScanInfo, 73_txt, 703_txt),
      Separator(Menu::Edit),
      EditorEntry(cmd::kDtmf, EditorKind::Dtmf, 78_txt, 713_txt),
      EditorEntry(cmd::kDtmfEncDec, EditorKind::DtmfEncDec, 74_txt, 704_txt),
      Separator(Menu::Edit),
      EditorEntry(cmd::kRemote, EditorKind::Remote, 75_txt, 705_txt),
      // The remote codes are 5-tone codes: their settings follow Remote
      // Control, and the vendor's own tone alphabet follows them.
      EditorEntry(cmd::kFiveTone, EditorKind::FiveTone, 79_txt, 706_txt),
      EditorEntry(cmd::kVelmora, EditorKind::Velmora, 377_txt, 707_txt),
      EditorEntry(cmd::kFuncPort, EditorKind::FuncPort, 85_txt, 714_txt),
      EditorEntry(cmd::kMulti, EditorKind::Multi, 76_txt, 708_txt),
      EditorEntry(cmd::kCWMes, EditorKind::CWMes, 77_txt, 709_txt),
      Separator(Menu::Edit),
      EditorEntry(cmd::kUserRecords, EditorKind::UserRecords, 89_txt, 715_txt),
      Separator(Menu::Edit),
      EditorEntry(cmd::kTestFreq, EditorKind::TestFreq, 81_txt, 710_txt, kAlsoOnBoard1),
      EditorEntry(cmd::kEmb, EditorKind::Emb, 82_txt, 445_txt, kAlsoOnBoard1),
      EditorEntry(cmd::kEmbPass, EditorKind::EmbPass, 83_txt, 711_txt, kAlsoOnBoard1),
      EditorOpenedFromAnEditor(cmd::kCWID, EditorKind::CWID),
      EditorOpenedFromAnEditor(cmd::kBeatShift, EditorKind::BeatShift),
      EditorOpenedFromAnEditor(cmd::kEncDec, EditorKind::EncDec),
      // Model
      Entry(Menu::Model, cmd::kModelInformation, 69_txt, [](F& f) { f.OnModelInformation(); }),
      // Program (entries without a handler stay off)
      Entry(Menu::Program, cmd::kReadData, 90_txt, [](F& f) { f.OnReadData(); }),
      Entry(Menu::Program, cmd::kWriteData, 91_txt, [](F& f) { f.OnWriteData(); }),
      Entry(Menu::Program, cmd::kCheckData, 331_txt, [](F& f) { f.OnCheckData(); }),
      Entry(Menu::Program, cmd::kCompareWithRepeater, 355_txt, [](F& f) { f.OnCompareWithRepeater(); }),
      Separator(Menu::Program),
      Entry(Menu::Program, cmd::kTestMode, 92_txt),
      Entry(Menu::Program, cmd::kTuningData, 93_txt),
      Entry(Menu::Program, cmd::kOpenTuningFile, 101_txt, [](F& f) { f.OnOpenTuningFile(); }),
      Entry(Menu::Program, cmd::kSaveTuningFile, 102_txt, [](F& f) { f.OnSaveTuningFile(); }),
      Entry(Menu::Program, cmd::kHardwareVersion, 94_txt),
      Separator(Menu::Program),
      Entry(Menu::Program, cmd::kMemoryMap, 95_txt),
      Entry(Menu::Program, cmd::kTraceData, 96_txt),
      Entry(Menu::Program, cmd::kMemoryMapDebug, 97_txt),
      {.menu = Menu::Program, .id = cmd::kProgramPasswordRecovery, .text = 98_txt,
       .shown = [](const F& f) { return f.app_.Image().Main().Byte(kPasswordRecoveryFlag) != 0xFF; }},
      // Tools: the service dialogs live here.
      Entry(Menu::Tools, cmd::kKeypad, 104_txt),
      Entry(Menu::Tools, cmd::kRepeaterInformation, 105_txt),
      Entry(Menu::Tools, cmd::kToolsPasswordRecovery, 106_txt),
      Separator(Menu::Tools),
      Entry(Menu::Tools, cmd::kNetworkInformation, 99_txt, [](F& f) { f.OnNetworkInformation(); }),
      Entry(Menu::Tools, cmd::kFactoryReset, 100_txt, [](F& f) { f.OnFactoryReset(); }),
      Separator(Menu::Tools),
      Entry(Menu::Tools, cmd::kDataMemoryMap, 416_txt, [](F& f) { f.OnDataMemoryMap(); }),
      {.menu = Menu::Tools, .id = cmd::kSupportUtil, .text = 107_txt,
       .shown = [](const F& f) { return f.app_.Flags().supportUtility; }, .editor = EditorKind::SupportUtil},
      // Setup
      Entry(Menu::Setup, cmd::kCommunicationPort, 109_txt, [](F& f) { f.OnCommunicationPort(); }),
      Entry(Menu::Setup, cmd::kLanguageFileSetup, 110_txt, [](F& f) { f.OnLanguageFileSetup(); }),
      // View
      Toggle(cmd::kToolBar, 112_txt, [](F& f) { f.toolBar_->setVisible(!f.toolBar_->isVisible()); },
             [](const F& f) { return !f.toolBar_->isHidden(); }),
      Toggle(cmd::kStatusBar, 113_txt, [](F& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); },
             [](const F& f) { return !f.statusBar()->isHidden(); }),
      Toggle(cmd::kTreeView, 114_txt, [](F& f) { f.treeDock_->setVisible(!f.treeDock_->isVisible()); },
             [](const F& f) { return !f.treeDock_->isHidden(); }),
      // Window
      Entry(Menu::Window, cmd::kCascade, 116_txt, [](F& f) { f.mdi_->cascadeSubWindows(); }),
      Entry(Menu::Window, cmd::kTile, 117_txt, [](F& f) { f.mdi_->tileSubWindows(); }),
      // Help
      Entry(Menu::Help, cmd::kHelpTopics, 119_txt, [](F& f) { f.OnHelp(false); }),
      Entry(Menu::Help, cmd::kHelpAdvanced, 120_txt, [](F& f) { f.OnHelp(true); }),
  };
  return rows;
}

TextNo CMainFrame::MenuTitle(cmd::Menu menu) {
  static constexpr TextNo kTitles[cmd::kMenuCount] = {57_txt, 65_txt, 68_txt,  70_txt, 103_txt,
                                                      108_txt, 111_txt, 115_txt, 118_txt};
  const auto i = static_cast<std::size_t>(menu);
  return i < std::size(kTitles) ? kTitles[i] : TextNo{0};
}

bool CMainFrame::EntryShown(const CommandRow& row, int optionBoard) const {
  if (row.editor && row.menu == cmd::Menu::Edit && optionBoard == 1 && !row.onOptionBoard1) return false;
  return !row.shown || row.shown(*this);
}

const CMainFrame::CommandRow* CMainFrame::FindCommand(int id) {
  if (id == 0) return nullptr;
  for (const CommandRow& row : CommandList())
    if (row.id == id) return &row;
  return nullptr;
}

void CMainFrame::RunCommand(int id) {
  const CommandRow* row = FindCommand(id);
  if (!row) return;
  if (row->run)
    row->run(*this);
  else if (row->editor)
    OpenEditor(*row->editor);
}

bool CMainFrame::CommandOn(int id) const {
  const CommandRow* row = FindCommand(id);
  if (!row) return false;
  if (row->editor && !row->run) return IsEditorBuilt(*row->editor);
  return row->run && (!row->enabled || row->enabled(*this));
}

namespace cmd {

std::optional<EditorKind> EditorOfCommand(int command) {
  if (const auto* row = CMainFrame::FindCommand(command)) return row->editor;
  return std::nullopt;
}

int CommandOfEditor(EditorKind kind) {
  for (const auto& row : CMainFrame::CommandList())
    if (row.editor == kind) return row.id;
  return 0;
}

}  // namespace cmd

}  // namespace zmp
