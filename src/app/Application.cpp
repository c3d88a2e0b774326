#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <iostream>

#include "app/Commands.h"
#include "editors/HelpTopics.h"
#include "lang/LanguageTexts.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/ProgramIcon.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "comm/RepeaterLink.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "fields/DecimalSeparator.h"

namespace zmp {

namespace {
CFPUApp* g_app = nullptr;

QString Latin(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

CFPUApp* TheApp() { return g_app; }

CFPUApp::CFPUApp() { g_app = this; }

CFPUApp::~CFPUApp() {
  frame_.reset();
  if (g_app == this) g_app = nullptr;
}

void CFPUApp::ResetFileNames() {
  dataFileName_ = QString::fromLatin1(kDefaultDataFileName);
  sdtFileName_ = QString::fromLatin1(kDefaultSdtFileName);
  itmFileName_ = QString::fromLatin1(kDefaultItmFileName);
}

void CFPUApp::SetLastFilePath(const QString& folder) {
  lastFilePath_ = folder;
  if (!lastFilePath_.isEmpty() && !lastFilePath_.endsWith(QLatin1Char('/')))
    lastFilePath_ += QLatin1Char('/');
}

void CFPUApp::SetLanguageId(int id) { languageId_ = id; }

int CFPUApp::ComPort() const { return TheLink().Port(); }
void CFPUApp::SetComPort(int port) { TheLink().SetPort(ComPortRule(port)); }
int CFPUApp::Baudrate() const { return TheLink().TargetBaud(); }
void CFPUApp::SetBaudrate(int baud) { TheLink().SetTargetBaud(baud); }

QString CFPUApp::GuideName() const {
  const LanguageRow* row = LanguageRowOf(languageId_);
  if (!row) return {};
  return Latin(kHelpFolderName) + QLatin1Char('/') + Latin(row->helpFolder);
}

QString CFPUApp::GuideFolder() const {
  const QString name = GuideName();
  if (name.isEmpty()) return {};
  for (const std::string& dir : DataFolders(options_.programDir.toStdString())) {
    const QString folder = QDir(QString::fromStdString(dir)).filePath(name);
    if (QFileInfo(QDir(folder).filePath(Latin(kHelpContentsPage))).isFile()) return folder;
  }
  return {};
}

bool CFPUApp::LoadLanguage() {
  const LanguageRow* row = LanguageRowOf(languageId_);
  const std::string name = row ? std::string(row->name) : std::string();
  const std::string path = LanguageTexts::FindFile(options_.programDir.toStdString());
  const LanguageTexts::LoadResult r =
      path.empty() ? LanguageTexts::LoadResult::NotFound : Texts().LoadFile(path, name);
  if (r == LanguageTexts::LoadResult::Loaded) {
    // The language whose column was loaded (column 1 when the file does not
    // hold the stored one) is the one in use, and the one written back.
    if (const LanguageRow* loaded = LanguageRowNamed(Texts().CurrentLanguageName())) languageId_ = loaded->id;
    return true;
  }
  const char* message = LanguageTexts::MessageFor(r);
  // Also on the terminal, so that a start from a script shows why it stopped.
  std::cerr << kProductName << ": " << message << '\n';
  MessageByNumber(nullptr, QString::fromLatin1(message), TextNo{0}, Icon::Stop);
  return false;
}

bool CFPUApp::AskStartupPassword() {
  if (!protection_.executionProtected) return true;
  const auto entry = CurrentPrompts().Password(nullptr, QTx(121_txt), QTx(122_txt),
                                               static_cast<int>(kPasswordLength));
  if (!entry) return false;
  if (entry->toStdString() == protection_.password) return true;
  Error(nullptr, 123_txt);
  return false;
}

bool CFPUApp::InitInstance(const std::vector<std::string>& args, const StartOptions& options) {
  options_ = options;
  startedUp_ = false;
  // 1. Command-line words (nothing else on the command line is used).
  flags_ = ParseCommandLine(args);
  // 2. The settings (organisation "VELMORA").
  Settings settings;
  // 3. The colour depth of the screen.
  if (const QScreen* s = QGuiApplication::primaryScreen()) colourDepth_ = s->depth();
  // 4. Core.
  languageId_ = settings.Language();
  if (!LoadLanguage()) return false;
  // Frequencies show with the user's decimal separator; both are accepted.
  SetDecimalSeparator(QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.');
  image_.MakeBlank();
  ResetFileNames();
  SetComPort(settings.ComPort());
  SetBaudrate(settings.Baudrate());
  LoadPortMap(settings);
  SetLastFilePath(settings.LastFilePath(DefaultDataFolder(DocumentsFolder(), options_.programDir)));
  MakeStartupImage(image_, settings.LastModel());
  courier_ = QFont(QStringLiteral("Courier"), 9);
  courier_.setStyleHint(QFont::TypeWriter);
  dataFile_ = settings.DataFile();
  protection_ = settings.Protect();
  if (!AskStartupPassword()) return false;
  // Every window of the program carries its icon.
  QApplication::setWindowIcon(ProgramIcon());
  // 5.-6. The editor kinds are fixed (EditorKinds.h); the main window.
  frame_ = std::make_unique<CMainFrame>(*this);
  // 7. Placement from "LastWinPos", or maximised.
  frame_->RestorePlacement(settings.LastWinPos(), options_.showWindow);
  startedUp_ = true;
  // 8. The default editor; the memory map when the command line asks for it.
  frame_->PostCommand(cmd::kChInfo);
  if (flags_.memmap) frame_->PostCommand(cmd::kDataMemoryMap);
  return true;
}

void CFPUApp::ExitInstance() {
  if (!startedUp_) return;
  Settings s;
  s.SetLastModel(ModelInfo(image_).Record());
  s.SetComPort(ComPort());
  s.SetBaudrate(Baudrate());
  s.SetLastFilePath(lastFilePath_);
  s.SetLanguage(languageId_);
  s.SetDataFile(dataFile_);
  s.SetProtect(protection_);
}

int CFPUApp::Run(int argc, char** argv) {
  // The program's words are checked on the command line as given; every other
  // argument is ignored, Qt's own options (-platform, -style, -reverse...)
  // too, so the toolkit is given the program name alone.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  int qtArgc = 1;
  char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("zmp318t"), nullptr};
  QApplication qapp(qtArgc, qtArgv);
  QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganisation));
  QApplication::setApplicationName(QString::fromLatin1(kSettingsApplication));
  // Desktops match the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.zmp318t"));
  CFPUApp app;
  StartOptions options;
  options.programDir = QApplication::applicationDirPath();
  if (!app.InitInstance(args, options)) return 1;
  const int rc = qapp.exec();
  app.ExitInstance();
  return rc;
}

}  // namespace zmp
