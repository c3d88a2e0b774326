#include "app/Commands.h"

#include <array>
#include <utility>

namespace zmp::cmd {

namespace {

constexpr MenuRow kSep{0, TextNo{0}};

constexpr MenuRow kBoard1[] = {
    {kChInfo, 88_txt, 712_txt},  kSep, {kFeature, 72_txt, 702_txt}, kSep,
    {kTestFreq, 81_txt, 710_txt}, {kEmb, 82_txt, 445_txt},  {kEmbPass, 83_txt, 711_txt},
};

constexpr MenuRow kBoard0[] = {
    {kChInfo, 88_txt, 712_txt},
    kSep,
    {kFeature, 72_txt, 702_txt},
    {kKey, 71_txt, 701_txt},
    {kScanInfo, 73_txt, 703_txt},
    kSep,
    {kDtmf, 78_txt, 713_txt},
    {kDtmfEncDec, 74_txt, 704_txt},
    kSep,
    {kRemote, 75_txt, 705_txt},
    // The remote codes are 5-tone codes: their settings follow Remote Control,
    // and the vendor's own tone alphabet follows them.
    {kFiveTone, 79_txt, 706_txt},
    {kVelmora, 377_txt, 707_txt},
    {kFuncPort, 85_txt, 714_txt},
    {kMulti, 76_txt, 708_txt},
    {kCWMes, 77_txt, 709_txt},
    kSep,
    {kUserRecords, 89_txt, 715_txt},
    kSep,
    {kTestFreq, 81_txt, 710_txt},
    {kEmb, 82_txt, 445_txt},
    {kEmbPass, 83_txt, 711_txt},
};

constexpr MenuRow kFile[] = {
    {kNew, 58_txt}, {kOpen, 59_txt},         {kSave, 60_txt}, {kSaveAs, 61_txt}, kSep,
    {kPrint, 62_txt}, {kPrintPreview, 63_txt}, kSep,          {kExit, 64_txt},
};
constexpr MenuRow kEdit[] = {{kUndo, 66_txt}, {kRedo, 67_txt}};
constexpr MenuRow kModel[] = {{kModelInformation, 69_txt}};
constexpr MenuRow kProgram[] = {
    {kReadData, 90_txt},
    {kWriteData, 91_txt},
    {kCheckData, 331_txt},
    {kCompareWithRepeater, 355_txt},
    kSep,
    {kTestMode, 92_txt},
    {kTuningData, 93_txt},
    {kOpenTuningFile, 101_txt},
    {kSaveTuningFile, 102_txt},
    {kHardwareVersion, 94_txt},
    kSep,
    {kMemoryMap, 95_txt},
    {kTraceData, 96_txt},
    {kMemoryMapDebug, 97_txt},
    {kProgramPasswordRecovery, 98_txt},
};
constexpr MenuRow kTools[] = {
    {kKeypad, 104_txt},
    {kRepeaterInformation, 105_txt},
    {kToolsPasswordRecovery, 106_txt},
    kSep,
    {kNetworkInformation, 99_txt},
    {kFactoryReset, 100_txt},
    kSep,
    {kDataMemoryMap, 416_txt},
    {kSupportUtil, 107_txt},
};
constexpr MenuRow kSetup[] = {{kCommunicationPort, 109_txt}, {kLanguageFileSetup, 110_txt}};
constexpr MenuRow kView[] = {{kToolBar, 112_txt}, {kStatusBar, 113_txt}, {kTreeView, 114_txt}};
constexpr MenuRow kWindow[] = {{kCascade, 116_txt}, {kTile, 117_txt}};
constexpr MenuRow kHelp[] = {{kHelpTopics, 119_txt}, {kHelpAdvanced, 120_txt}, kSep};

constexpr std::array<std::pair<int, EditorKind>, 20> kEditorCommands{{
    {kChInfo, EditorKind::ChInfo},
    {kCWID, EditorKind::CWID},
    {kBeatShift, EditorKind::BeatShift},
    {kFeature, EditorKind::Feature},
    {kKey, EditorKind::Key},
    {kScanInfo, EditorKind::ScanInfo},
    {kFiveTone, EditorKind::FiveTone},
    {kVelmora, EditorKind::Velmora},
    {kEncDec, EditorKind::EncDec},
    {kDtmf, EditorKind::Dtmf},
    {kDtmfEncDec, EditorKind::DtmfEncDec},
    {kRemote, EditorKind::Remote},
    {kFuncPort, EditorKind::FuncPort},
    {kMulti, EditorKind::Multi},
    {kCWMes, EditorKind::CWMes},
    {kUserRecords, EditorKind::UserRecords},
    {kTestFreq, EditorKind::TestFreq},
    {kEmb, EditorKind::Emb},
    {kEmbPass, EditorKind::EmbPass},
    {kSupportUtil, EditorKind::SupportUtil},
}};

}  // namespace

std::span<const MenuRow> EditorRows(int optionBoard) {
  if (optionBoard == 1) return kBoard1;
  return kBoard0;
}

MenuTable MenuOf(Menu m) {
  switch (m) {
    case Menu::File: return {57_txt, kFile};
    case Menu::Edit: return {65_txt, kEdit};
    case Menu::Model: return {68_txt, kModel};
    case Menu::Program: return {70_txt, kProgram};
    case Menu::Tools: return {103_txt, kTools};
    case Menu::Setup: return {108_txt, kSetup};
    case Menu::View: return {111_txt, kView};
    case Menu::Window: return {115_txt, kWindow};
    case Menu::Help: return {118_txt, kHelp};
  }
  return {TextNo{0}, {}};
}

std::optional<EditorKind> EditorOfCommand(int command) {
  for (const auto& [c, k] : kEditorCommands)
    if (c == command) return k;
  return std::nullopt;
}

int CommandOfEditor(EditorKind kind) {
  for (const auto& [c, k] : kEditorCommands)
    if (k == kind) return c;
  return 0;
}

}  // namespace zmp::cmd
