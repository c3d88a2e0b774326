// Command numbers of the main window. What each command shows and runs is its
// row in the command list (CommandList.h).
#pragma once

#include <optional>

#include "editors/EditorKinds.h"

namespace zmp::cmd {

// Editor commands (Edit menu and function tree).
inline constexpr int kChInfo = 32773;
inline constexpr int kCWID = 103;
inline constexpr int kBeatShift = 104;
inline constexpr int kFeature = 32822;
inline constexpr int kKey = 32818;
inline constexpr int kScanInfo = 32817;
inline constexpr int kFiveTone = 32827;
inline constexpr int kVelmora = 32828;
inline constexpr int kEncDec = 32823;
inline constexpr int kDtmf = 32824;
inline constexpr int kDtmfEncDec = 32825;
inline constexpr int kRemote = 32826;
inline constexpr int kFuncPort = 32832;
inline constexpr int kMulti = 32820;
inline constexpr int kCWMes = 32819;
inline constexpr int kUserRecords = 32835;
inline constexpr int kTestFreq = 32787;
inline constexpr int kEmb = 32788;
inline constexpr int kEmbPass = 32821;
inline constexpr int kSupportUtil = 32834;

// File.
inline constexpr int kNew = 200;
inline constexpr int kOpen = 201;
inline constexpr int kSave = 202;
inline constexpr int kSaveAs = 203;
inline constexpr int kPrint = 32794;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kExit = 207;
// Edit.
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
// Model.
inline constexpr int kModelInformation = 32771;
// Program.
inline constexpr int kReadData = 40060;
inline constexpr int kWriteData = 40061;
inline constexpr int kCheckData = 32881;
inline constexpr int kCompareWithRepeater = 32882;
inline constexpr int kTestMode = 40064;
inline constexpr int kTuningData = 32853;
inline constexpr int kHardwareVersion = 32858;
inline constexpr int kMemoryMap = 40006;
inline constexpr int kTraceData = 32836;
inline constexpr int kMemoryMapDebug = 32856;
inline constexpr int kProgramPasswordRecovery = 32852;
inline constexpr int kNetworkInformation = 32850;
inline constexpr int kFactoryReset = 32857;
inline constexpr int kOpenTuningFile = 40070;
inline constexpr int kSaveTuningFile = 40071;
// Tools.
inline constexpr int kKeypad = 32854;
inline constexpr int kDataMemoryMap = 32880;
inline constexpr int kRepeaterInformation = 32815;
inline constexpr int kToolsPasswordRecovery = 32833;
// Setup.
inline constexpr int kCommunicationPort = 40011;
inline constexpr int kLanguageFileSetup = 32816;
// View.
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kTreeView = 40008;
// Window.
inline constexpr int kCascade = 57650;
inline constexpr int kTile = 57651;
// Help.
inline constexpr int kHelpTopics = 40069;
inline constexpr int kHelpAdvanced = 32855;

// The top-level menus in order; None: a command in no menu.
enum class Menu { File, Edit, Model, Program, Tools, Setup, View, Window, Help, None };
inline constexpr int kMenuCount = 9;

// The editor a command opens; nothing for other commands (CommandList.cpp).
std::optional<EditorKind> EditorOfCommand(int command);
// The command that opens an editor; 0 when it has none (the channel edit view
// opens from the channel information view).
int CommandOfEditor(EditorKind kind);

}  // namespace zmp::cmd
