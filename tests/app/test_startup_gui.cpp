// Start-up and exit of the application object with real settings files and
// the real language file, on the offscreen platform.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <fstream>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <chrono>
#include <filesystem>
#include <thread>

#include "../support/QtTestApp.h"
#include "app/Application.h"
#include "lang/LanguageTexts.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "data/ModelInfo.h"

using namespace zmp;
namespace fs = std::filesystem;

namespace {

// Answers the start-up password prompt with a scripted entry.
class ScriptedPrompts : public Prompts {
 public:
  std::optional<QString> password;
  int asked = 0;
  std::optional<QString> Password(QWidget*, const QString&, const QString&, int) override {
    ++asked;
    return password;
  }
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zmp::testing::TestApp();
    ASSERT_TRUE(dir.isValid());
    ini = dir.filePath(QStringLiteral("settings.ini"));
    SetSettingsFileForTesting(ini);
    SetMessageHook([this](const MessageRequest& r) {
      messages.push_back(r);
      return Answer::Ok;
    });
    SetPrompts(&prompts);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    SetMessageHook(nullptr);
    SetSettingsFileForTesting({});
    // Later tests need the program's texts again.
    Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English");
  }

  void Store(const char* key, const QVariant& value) {
    QSettings s(ini, QSettings::IniFormat);
    s.setValue(QStringLiteral("Backup/") + QLatin1String(key), value);
  }
  QVariant Stored(const char* key) {
    QSettings s(ini, QSettings::IniFormat);
    return s.value(QStringLiteral("Backup/") + QLatin1String(key));
  }

  bool Start(CFPUApp& app, const QString& programDir = QStringLiteral(ZMP_BIN_DIR),
             std::vector<std::string> args = {}) {
    StartOptions o;
    o.programDir = programDir;
    o.splash = false;
    o.showWindow = false;
    return app.InitInstance(args, o);
  }

  QTemporaryDir dir;
  QString ini;
  std::vector<MessageRequest> messages;
  ScriptedPrompts prompts;
};

TEST_F(StartupTest, MissingOrDamagedLanguageFileEndsStartUpWithItsMessage) {
  const QString empty = dir.filePath(QStringLiteral("prog"));
  fs::create_directories(empty.toStdString());
  {
    CFPUApp app;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Start(app, empty));
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(err.find(messages[0].text.toStdString()), std::string::npos) << err;
    EXPECT_EQ(app.MainFrame(), nullptr);
    app.ExitInstance();
  }
  EXPECT_FALSE(QFile::exists(ini)) << "a failed start-up writes no settings";

  // A file whose key is short is damaged.
  QFile f(empty + QStringLiteral("/zmp318t.lng"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("*Language,English\n*Font,Courier\n^#0001,Broken\n");
  f.close();
  messages.clear();
  CFPUApp app;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Start(app, empty));
  const std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text, QString());
  EXPECT_NE(err.find(messages[0].text.toStdString()), std::string::npos);
}

TEST_F(StartupTest, BadSettingsTakeTheirDefaultsAndExitWritesThemBack) {
  Store("ComPort", 21);
  Store("Baudrate", 4800);
  Store("LastModel", QStringLiteral("52:57:41:56:30:35:30:30:FF:FF:00:09:FF:FF:FF"));  // fifteen
  Store("LastWinPos", QStringLiteral("0:1:0:0:0:0:10:10:500"));                         // nine
  Store("LastFilePath", QStringLiteral("/no/such/folder"));
  CFPUApp app;
  ASSERT_TRUE(Start(app, QStringLiteral(ZMP_BIN_DIR), {"/tmp/some.dat", "demo"}));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(app.ComPort(), 1);
  EXPECT_EQ(app.Baudrate(), 115200);
  EXPECT_TRUE(app.Flags().demo);
  EXPECT_EQ(ModelInfo(app.Image()).Record().bytes, ModelRecord::Default().bytes);
  EXPECT_FALSE(app.Image().IsModified());
  EXPECT_TRUE(app.LastFilePath().endsWith(QStringLiteral("Velmora/ZMP-318T/")))
      << app.LastFilePath().toStdString();
  EXPECT_EQ(app.DataFileName(), QStringLiteral("zmp318t.dat")) << "a file argument opens no file";
  ASSERT_NE(app.MainFrame(), nullptr);
  EXPECT_TRUE(app.MainFrame()->windowState() & Qt::WindowMaximized);
  app.ExitInstance();
  EXPECT_EQ(Stored("ComPort").toInt(), 1);
  EXPECT_EQ(Stored("Baudrate").toInt(), 115200);
  EXPECT_EQ(Stored("LastModel").toString().toStdString(), FormatLastModel(ModelRecord::Default()));
  EXPECT_EQ(Stored("Language").toInt(), 1);
}

// "Language" goes back as the language whose column was loaded: a stored
// language that the file does not hold loads column 1, and that one is written.
TEST_F(StartupTest, LanguageWrittenBackIsTheLoadedOne) {
  for (int stored : {4, 99}) {
    Store("Language", stored);
    CFPUApp app;
    ASSERT_TRUE(Start(app));
    EXPECT_EQ(Texts().CurrentLanguageName(), "English");
    EXPECT_EQ(app.LanguageId(), 1) << stored;
    app.ExitInstance();
    EXPECT_EQ(Stored("Language").toInt(), 1) << stored;
  }
}

// On a fresh account even the documents folder may be missing: the whole
// default data folder is made, so backups land in it from the first one on.
TEST_F(StartupTest, DefaultDataFolderIsMadeWhole) {
  const QString docs = dir.filePath(QStringLiteral("fresh/Documents"));
  const QString folder = DefaultDataFolder(docs, QStringLiteral(ZMP_BIN_DIR));
  EXPECT_EQ(folder, docs + QStringLiteral("/Velmora/ZMP-318T/"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

// Qt's own options are not Qt's to take: every argument but the program's four
// words is ignored. A "-platform" naming no platform must not stop the
// program; it starts on the platform of the environment and goes on to its
// language file (here a damaged one beside a copy of the program, whose
// message on stderr shows how far it came).
TEST_F(StartupTest, QtOptionsOnTheCommandLineAreIgnored) {
  const fs::path folder = fs::path(dir.path().toStdString()) / "program";
  fs::create_directories(folder);
  fs::copy_file(fs::path(ZMP_BIN_DIR) / "zmp318t", folder / "zmp318t");
  { std::ofstream(folder / "zmp318t.lng") << "not a language file\n"; }
  const std::string bin = (folder / "zmp318t").string(), err = (folder / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> words = {bin, "-platform", "zmp-no-such-platform", "-reverse", "-style", "zz", "demo"};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  bool exited = false, reached = false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!exited && !reached && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    exited = ::waitpid(pid, nullptr, WNOHANG) == pid;
    std::ifstream in(err);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    reached = text.find(kLanguageDamagedMessage) != std::string::npos;
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  std::ifstream in(err);
  EXPECT_TRUE(reached) << std::string{std::istreambuf_iterator<char>(in), {}};
}

TEST_F(StartupTest, LastModelChoosesTheImageDefaults) {
  ModelRecord uhf = ModelRecord::Default();
  for (int i = 0; i < 8; ++i) uhf.bytes[i] = static_cast<std::uint8_t>("RWAV0500"[i]);
  uhf.bytes[10] = 0;
  uhf.bytes[11] = 9;
  ASSERT_TRUE(IsValidRecord(uhf));
  Store("LastModel", QString::fromStdString(FormatLastModel(uhf)));
  Store("ComPort", 20);
  Store("Baudrate", 9600);
  Store("LastWinPos", QStringLiteral("0:1:-1:-1:-1:-1:30:40:830:640"));
  CFPUApp app;
  ASSERT_TRUE(Start(app));
  EXPECT_EQ(ModelInfo(app.Image()).Record().bytes, uhf.bytes);
  EXPECT_EQ(ModelInfo(app.Image()).VhfUhf(), 1);
  EXPECT_FALSE(app.Image().IsModified());
  EXPECT_EQ(app.ComPort(), 20);
  EXPECT_EQ(app.Baudrate(), 9600);
  EXPECT_FALSE(app.MainFrame()->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(app.MainFrame()->geometry().width(), 800);

  // A record naming an unknown model leaves the default model in place.
  ModelRecord unknown = uhf;
  unknown.bytes[7] = '9';
  Store("LastModel", QString::fromStdString(FormatLastModel(unknown)));
  CFPUApp second;
  ASSERT_TRUE(Start(second));
  EXPECT_EQ(ModelInfo(second.Image()).Record().bytes, ModelRecord::Default().bytes);
}

TEST_F(StartupTest, ProtectedProgramAsksForThePassword) {
  Store("Protect", QString::fromStdString(FormatProtect(Protection{true, "qz1234"})));
  {
    prompts.password = QStringLiteral("wrong1");
    CFPUApp app;
    EXPECT_FALSE(Start(app));
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(messages.size(), 1u) << "a wrong password is told";
  }
  {
    prompts.password.reset();  // Cancel
    CFPUApp app;
    EXPECT_FALSE(Start(app));
  }
  prompts.password = QStringLiteral("qz1234");
  CFPUApp app;
  EXPECT_TRUE(Start(app));
  EXPECT_EQ(prompts.asked, 3);
  EXPECT_TRUE(app.Security().executionProtected);
  app.ExitInstance();
  EXPECT_EQ(ParseProtect(Stored("Protect").toString().toStdString()), (Protection{true, "qz1234"}));
}

}  // namespace

namespace {

TEST_F(StartupTest, MainWindowShowsMenusTreeAndPortPane) {
  Store("LastWinPos", QStringLiteral("0:1:-1:-1:-1:-1:0:0:1100:700"));
  Store("ComPort", 3);
  CFPUApp app;
  StartOptions o;
  o.programDir = QStringLiteral(ZMP_BIN_DIR);
  o.splash = false;
  o.showWindow = true;
  ASSERT_TRUE(app.InitInstance({}, o));
  QApplication::processEvents();
  CMainFrame* f = app.MainFrame();
  EXPECT_EQ(f->menuBar()->actions().size(), 9);
  EXPECT_TRUE(f->windowTitle().startsWith(QStringLiteral("ZMP-318T  [ ")));
  auto* pane = f->findChild<QLabel*>(QStringLiteral("PortPane"));
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->text(), QStringLiteral("COM3"));
  for (QAction* menu : f->menuBar()->actions()) EXPECT_FALSE(menu->text().isEmpty());
}

}  // namespace
